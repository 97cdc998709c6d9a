#pragma once
// The common dialogs: choosing a file to open or save, a colour, printing,
// and the list of installed font families. Every one runs through
// RunCommonDialog, which tests replace to answer without a user. A chosen
// file's folder is answered explicitly (GetFolderPath); nothing here changes
// or reads the process's current directory.
#include <QStringList>
#include <functional>

#include "platform/framework/AfxTypes.h"
#include "platform/framework/CString.h"

class CWnd;
class QDialog;
class QFileDialog;

// Runs a dialog modally and answers QDialog::Accepted or Rejected.
int RunCommonDialog(QDialog& dialog);
// Replaces how common dialogs run (null restores exec); answers the old hook.
using CommonDialogHook = std::function<int(QDialog&)>;
CommonDialogHook SetCommonDialogHook(CommonDialogHook hook);

enum : DWORD {
    OFN_READONLY = 0x1, OFN_OVERWRITEPROMPT = 0x2, OFN_HIDEREADONLY = 0x4, OFN_NOCHANGEDIR = 0x8,
    OFN_ALLOWMULTISELECT = 0x200, OFN_PATHMUSTEXIST = 0x800, OFN_FILEMUSTEXIST = 0x1000,
    OFN_EXPLORER = 0x80000
};

class CFileDialog {
public:
    // filter: "Description|*.ext|Other|*.a;*.b||".
    CFileDialog(BOOL openFileDialog, const char* defaultExt = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* parent = nullptr);
    virtual ~CFileDialog() = default;

    virtual int DoModal();

    // The chosen file (UTF-8 path), its name, extension, name without
    // extension, and folder (with a trailing '/').
    CString GetPathName() const { return m_path; }
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;

    // The fields callers set before DoModal.
    struct {
        const char* lpstrTitle = nullptr;
        const char* lpstrInitialDir = nullptr;  // UTF-8 folder
        DWORD Flags = 0;
    } m_ofn;

    // Qt's name filters for an old-style filter string.
    static QStringList NameFilters(const char* filter);

protected:
    // Sets up the Qt dialog (exposed for tests of the set-up).
    void Configure(QFileDialog& dialog) const;

private:
    bool m_open;
    CString m_defaultExt;
    CString m_fileName;
    CString m_filter;
    CWnd* m_parent;
    CString m_path;
};

class CColorDialog {
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
    virtual ~CColorDialog() = default;
    virtual int DoModal();
    COLORREF GetColor() const { return m_color; }

private:
    COLORREF m_color;
    CWnd* m_parent;
};

// The print dialog on the application's printer (see AfxGetPrinter).
class CPrintDialog {
public:
    explicit CPrintDialog(BOOL printSetupOnly, DWORD flags = 0, CWnd* parent = nullptr);
    virtual ~CPrintDialog() = default;
    virtual int DoModal();
    void SetPageRange(UINT minPage, UINT maxPage) { m_minPage = minPage; m_maxPage = maxPage; }
    UINT GetFromPage() const { return m_fromPage; }
    UINT GetToPage() const { return m_toPage; }

private:
    BOOL m_setupOnly;
    CWnd* m_parent;
    UINT m_minPage = 1, m_maxPage = 0xFFFF;
    UINT m_fromPage = 0, m_toPage = 0;
};

// The families of the installed fonts, sorted, for the font lists of dialogs.
QStringList InstalledFontFamilies();
