#include "platform/framework/CommonDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/ModalFocusKeeper.h"
#include "platform/framework/CPrintInfo.h"
#include "platform/framework/CWnd.h"

namespace {
CommonDialogHook& hook()
{
    static CommonDialogHook h;
    return h;
}

QWidget* widgetOf(CWnd* wnd)
{
    return wnd ? wnd->widget() : nullptr;
}
}

int RunCommonDialog(QDialog& dialog)
{
    if (hook())
        return hook()(dialog);
    ModalFocusKeeper focus;
    return dialog.exec();
}

CommonDialogHook SetCommonDialogHook(CommonDialogHook h)
{
    CommonDialogHook old = hook();
    hook() = std::move(h);
    return old;
}

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExt, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_open(openFileDialog), m_defaultExt(defaultExt), m_fileName(fileName), m_filter(filter), m_parent(parent)
{
    m_ofn.Flags = flags;
}

QStringList CFileDialog::NameFilters(const char* filter)
{
    QStringList result;
    QStringList parts = QString::fromUtf8(filter ? filter : "").split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        if (description.isEmpty() || patterns.isEmpty())
            continue;
        QString qtPatterns = patterns.split(';', Qt::SkipEmptyParts).join(' ');
        // Qt reads the patterns from the last parentheses of the filter.
        if (description.endsWith(')') && description.contains(qtPatterns))
            result << description;
        else
            result << QString("%1 (%2)").arg(description, qtPatterns);
    }
    return result;
}

void CFileDialog::Configure(QFileDialog& dialog) const
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(m_open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(m_open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(m_ofn.Flags & OFN_OVERWRITEPROMPT));
    if (m_ofn.lpstrTitle)
        dialog.setWindowTitle(ToQString(CString(m_ofn.lpstrTitle)));
    QStringList filters = NameFilters(m_filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!m_defaultExt.IsEmpty())
        dialog.setDefaultSuffix(PathToQString(m_defaultExt));
    if (m_ofn.lpstrInitialDir)
        dialog.setDirectory(QString::fromUtf8(m_ofn.lpstrInitialDir));
    if (!m_fileName.IsEmpty())
        dialog.selectFile(PathToQString(m_fileName));
}

int CFileDialog::DoModal()
{
    QFileDialog dialog(widgetOf(m_parent));
    Configure(dialog);
    if (RunCommonDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return IDCANCEL;
    // Whatever the chosen name is (a named pipe, a device, a file removed
    // since), it goes to the caller, whose open tells the user what is wrong
    // with it: the dialog never closes as if cancelled.
    QString chosen = dialog.selectedFiles().first();
    m_path = PathFromQString(QFileInfo(chosen).absoluteFilePath());
    return IDOK;
}

CString CFileDialog::GetFileName() const
{
    return PathFromQString(QFileInfo(PathToQString(m_path)).fileName());
}

CString CFileDialog::GetFileExt() const
{
    return PathFromQString(QFileInfo(PathToQString(m_path)).suffix());
}

CString CFileDialog::GetFileTitle() const
{
    return PathFromQString(QFileInfo(PathToQString(m_path)).completeBaseName());
}

CString CFileDialog::GetFolderPath() const
{
    if (m_path.IsEmpty())
        return CString();
    QString folder = QFileInfo(PathToQString(m_path)).absolutePath();
    if (!folder.endsWith('/'))
        folder += '/';
    return PathFromQString(folder);
}

CColorDialog::CColorDialog(COLORREF initial, DWORD, CWnd* parent) : m_color(initial), m_parent(parent) {}

int CColorDialog::DoModal()
{
    QColorDialog dialog(QColor(GetRValue(m_color), GetGValue(m_color), GetBValue(m_color)), widgetOf(m_parent));
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    if (RunCommonDialog(dialog) != QDialog::Accepted)
        return IDCANCEL;
    QColor c = dialog.currentColor();
    m_color = RGB(c.red(), c.green(), c.blue());
    return IDOK;
}

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD, CWnd* parent) : m_setupOnly(printSetupOnly), m_parent(parent)
{
}

int CPrintDialog::DoModal()
{
    QPrinter& printer = AfxGetPrinter();
    if (m_setupOnly) {
        QPageSetupDialog dialog(&printer, widgetOf(m_parent));
        return RunCommonDialog(dialog) == QDialog::Accepted ? IDOK : IDCANCEL;
    }
    QPrintDialog dialog(&printer, widgetOf(m_parent));
    dialog.setMinMax(int(m_minPage), int(std::min<UINT>(m_maxPage, 0x7FFFFFFF)));
    if (RunCommonDialog(dialog) != QDialog::Accepted)
        return IDCANCEL;
    if (printer.printRange() == QPrinter::PageRange) {
        m_fromPage = UINT(printer.fromPage());
        m_toPage = UINT(printer.toPage());
    }
    return IDOK;
}

QStringList InstalledFontFamilies()
{
    QStringList families = QFontDatabase::families();
    families.sort(Qt::CaseInsensitive);
    return families;
}
