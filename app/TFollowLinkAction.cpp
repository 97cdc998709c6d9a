#include "app/TFollowLinkAction.h"

#include "math/HyperlinkComp.h"
#include "math/LinkAddress.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/DesktopIntegration.h"

#include <QFileInfo>
#include <QUrl>
#include <QUrlQuery>

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

bool OpenOnDesktop(const QString& target)
{
    return ShellExecuteA(nullptr, "open", PathFromQString(target), nullptr, nullptr, SW_SHOWNORMAL) > 32;
}

// Link texts are program text; paths are file-system bytes.
CString ProgramTextAsPath(const CString& text)
{
    return PathFromQString(ToQString(text));
}

bool NamesDocument(const QString& text)
{
    return text.contains(".vxm") || text.contains(".VXM");
}

// A mail address without the files a mail program would attach on the
// link's word ("attach=", "attachment=").
QString MailWithoutAttachments(QUrl url)
{
    QUrlQuery kept;
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyEncoded))
        if (!QUrl::fromPercentEncoding(key.toUtf8()).trimmed().startsWith("attach", Qt::CaseInsensitive))
            kept.addQueryItem(key, value);
    url.setQuery(kept);
    return url.toString(QUrl::FullyEncoded);
}

// Messages name the target as the screen shows it, whatever its characters.
void Tell(const char* pattern, const QString& target)
{
    AfxMessageBoxUnicode(QString::fromUtf8(pattern).replace("%s", target));
}

bool UserAgrees(const QString& target)
{
    return AfxMessageBoxUnicode(QString::fromUtf8(TFollowLinkAction::kAskMessage).replace("%s", "\"" + target + "\""),
                                MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void OpenDataOnDesktop(const QString& target, const char* failure)
{
    if (UserAgrees(target) && !OpenOnDesktop(target))
        AfxMessageBox(failure);
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
    const QString address = ToQString(text);
    const LinkAddress::Kind kind = LinkAddress::Classify(address, m_link->IsExternal());
    if (kind != LinkAddress::Kind::kDocumentPath) {
        FollowAddress(address, kind);
        return;
    }
    if (!m_document || m_document->GetPathName().IsEmpty()) {
        AfxMessageBox(kUnsavedMessage);
        return;
    }
    FollowPath(TargetPath(m_document->GetPathName(), ProgramTextAsPath(text)), NamesDocument(address));
}

void TFollowLinkAction::FollowAddress(const QString& address, LinkAddress::Kind kind) const
{
    const QUrl url(address.trimmed());
    switch (kind) {
    case LinkAddress::Kind::kFile:
        if (!url.host().isEmpty())
            Tell(kOtherComputerMessage, address);
        else
            FollowPath(PathFromQString(url.toLocalFile()), NamesDocument(address));
        return;
    case LinkAddress::Kind::kWeb:
        if (!OpenOnDesktop(address))
            AfxMessageBox(kOpenFailedMessage);
        return;
    case LinkAddress::Kind::kMail:
        if (!OpenOnDesktop(MailWithoutAttachments(url)))
            AfxMessageBox(kOpenFailedMessage);
        return;
    case LinkAddress::Kind::kFileTransfer: FollowRemoteFile(url); return;
    default: Tell(kNotDataMessage, address);
    }
}

// A file on another computer is judged by its name alone: the desktop fetches
// it and opens it by the type its name gives.
void TFollowLinkAction::FollowRemoteFile(const QUrl& url) const
{
    const QString target = url.toString();
    if (!DesktopIntegration::NamesDataFile(url.fileName())) {
        Tell(kNotDataMessage, target);
        return;
    }
    OpenDataOnDesktop(target, kOpenFailedMessage);
}

void TFollowLinkAction::FollowPath(const CString& target, bool document) const
{
    const QFileInfo info(PathToQString(target));
    // A missing file is told once, here, rather than by the application's
    // open failure as well.
    if (!info.exists()) {
        AfxMessageBox(kMissingFileMessage);
        return;
    }
    // Checked and handed on as one path, with "..", "//" and links resolved.
    const QString path = info.canonicalFilePath();
    if (document) {
        if (!QFileInfo(path).isFile() || !OpenInApplication(PathFromQString(path)))
            AfxMessageBox(kFileOpenFailedMessage);
        return;
    }
    if (DesktopIntegration::IsProgramFile(path))
        Tell(kProgramMessage, path);
    else if (!DesktopIntegration::IsDataFile(path))
        Tell(kNotDataMessage, path);
    else
        OpenDataOnDesktop(path, kFileOpenFailedMessage);
}
