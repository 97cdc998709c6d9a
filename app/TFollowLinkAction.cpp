#include "app/TFollowLinkAction.h"

#include "math/HyperlinkComp.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/DesktopIntegration.h"

#include <QFileInfo>
#include <QUrl>

namespace {

TFollowLinkAction::DocumentOpener& Opener()
{
    static TFollowLinkAction::DocumentOpener opener;
    return opener;
}

bool OpenInApplication(const CString& path)
{
    if (Opener())
        return Opener()(path);
    CWinApp* app = AfxGetApp();
    return app && app->OpenDocumentFile(path) != nullptr;
}

bool OpenOnDesktop(const CString& target)
{
    return ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL) > 32;
}

// Link texts are program text; paths are file-system bytes.
CString ProgramTextAsPath(const CString& text)
{
    return PathFromQString(ToQString(text));
}

bool NamesDocument(const CString& text)
{
    return text.Find(".vxm") >= 0 || text.Find(".VXM") >= 0;
}

// Web and mail addresses open with the desktop's handler without asking.
bool IsWebOrMail(const QString& scheme)
{
    for (const char* safe : {"http", "https", "ftp", "mailto"})
        if (scheme.compare(QLatin1String(safe), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Messages are program text; a target may be a file-system path or an address.
CString Format(const char* pattern, const QString& target)
{
    CString text;
    text.Format(pattern, static_cast<const char*>(FromQString(target)));
    return text;
}

bool UserAgrees(const QString& target)
{
    return AfxMessageBox(Format(TFollowLinkAction::kAskMessage, "\"" + target + "\""),
                         MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace

TFollowLinkAction::TFollowLinkAction(HyperlinkComp* link, CDocument* document)
    : TAction(kNameId), m_link(link), m_document(document)
{
}

TFollowLinkAction::DocumentOpener TFollowLinkAction::SetDocumentOpener(DocumentOpener opener)
{
    DocumentOpener old = std::move(Opener());
    Opener() = std::move(opener);
    return old;
}

CString TFollowLinkAction::TargetPath(const CString& documentPath, const CString& linkText)
{
    CString relative = linkText;
    relative.Replace('\\', '/');
    if (relative.Left(1) == "/")
        return relative;
    const int separator = documentPath.ReverseFind('/');
    return documentPath.Left(separator + 1) + relative;
}

void TFollowLinkAction::Do()
{
    if (!m_link)
        return;
    const CString text = m_link->GetURL().ToCString();
    if (m_link->IsExternal() && (text.Find("://") >= 0 || text.Find("mailto:") >= 0)) {
        FollowAddress(text);
        return;
    }
    if (!m_document || m_document->GetPathName().IsEmpty()) {
        AfxMessageBox(kUnsavedMessage);
        return;
    }
    FollowPath(TargetPath(m_document->GetPathName(), ProgramTextAsPath(text)), NamesDocument(text));
}

void TFollowLinkAction::FollowAddress(const CString& address) const
{
    const QUrl url(ToQString(address));
    if (url.isLocalFile()) {
        FollowPath(PathFromQString(url.toLocalFile()), NamesDocument(address));
        return;
    }
    if (!IsWebOrMail(url.scheme()) && !UserAgrees(ToQString(address)))
        return;
    if (!OpenOnDesktop(ProgramTextAsPath(address)))
        AfxMessageBox(kOpenFailedMessage);
}

void TFollowLinkAction::FollowPath(const CString& target, bool document) const
{
    const QString path = PathToQString(target);
    // A missing file is told once, here, rather than by the application's
    // open failure as well.
    if (!QFileInfo::exists(path)) {
        AfxMessageBox(kMissingFileMessage);
        return;
    }
    if (document) {
        if (!QFileInfo(path).isFile() || !OpenInApplication(target))
            AfxMessageBox(kMissingFileMessage);
        return;
    }
    if (DesktopIntegration::IsProgramFile(path)) {
        AfxMessageBox(Format(kProgramMessage, path));
        return;
    }
    if (UserAgrees(path) && !OpenOnDesktop(target))
        AfxMessageBox(kMissingFileMessage);
}
