#include "app/TFollowLinkAction.h"

#include "math/HyperlinkComp.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/DesktopIntegration.h"

#include <QFileInfo>

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
    const int separator = documentPath.ReverseFind('/');
    return documentPath.Left(separator + 1) + relative;
}

void TFollowLinkAction::Do()
{
    if (!m_link)
        return;
    const CString text = m_link->GetURL().ToCString();
    if (m_link->IsExternal() && (text.Find("://") >= 0 || text.Find("mailto:") >= 0)) {
        if (!OpenOnDesktop(ProgramTextAsPath(text)))
            AfxMessageBox(kOpenFailedMessage);
        return;
    }
    if (!m_document || m_document->GetPathName().IsEmpty()) {
        AfxMessageBox(kUnsavedMessage);
        return;
    }
    const CString target = TargetPath(m_document->GetPathName(), ProgramTextAsPath(text));
    if (text.Find(".vxm") >= 0 || text.Find(".VXM") >= 0) {
        // A missing file is told once, here, rather than by the application's
        // open failure as well.
        if (!QFileInfo(PathToQString(target)).isFile() || !OpenInApplication(target))
            AfxMessageBox(kMissingFileMessage);
        return;
    }
    if (!OpenOnDesktop(target))
        AfxMessageBox(kMissingFileMessage);
}
