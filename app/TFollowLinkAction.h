#pragma once
// Following a link: a web or mail address opens with the desktop's handler; a
// document link names a file relative to the folder of the document holding
// the link (a "file:" address names it absolutely), and opens in the editor
// when it is a ".vxm" document. A document comes from anyone, so any other
// target is handed to the desktop only when it holds data (a document,
// picture, PDF, text or web page) and the user agreed; programs, desktop
// entries and every other type are refused, whatever the scheme. The file
// that is checked is the very file handed on: its canonical path. Following
// changes nothing, so undoing it does nothing either.
#include "foundation/TAction.h"
#include "math/LinkAddress.h"
#include "platform/framework/CString.h"

#include <functional>

class CDocument;
class HyperlinkComp;
class QUrl;

class TFollowLinkAction : public TAction {
public:
    // "Can't undo"
    static constexpr int16_t kNameId = 2014;
    static constexpr const char* kUnsavedMessage =
        "Since document links specify locations relative to the base document location, you can not follow a "
        "link from a document that has not been saved.";
    static constexpr const char* kMissingFileMessage = "Unable to locate the file that this link points to.";
    static constexpr const char* kFileOpenFailedMessage = "Unable to open the file that this link points to.";
    static constexpr const char* kOpenFailedMessage = "Unable to open the address that this link points to.";
    static constexpr const char* kProgramMessage =
        "This link points to a program, which is never started from a document:\n%s";
    static constexpr const char* kNotDataMessage =
        "This link points to something other than a document, picture, text or web page, which is never opened "
        "from a document:\n%s";
    static constexpr const char* kOtherComputerMessage =
        "This link names a file on another computer, which is never opened as a local file:\n%s";
    // Asked before any target that is neither a web or mail address nor a
    // document; %s is the full target, exactly as it will be opened.
    static constexpr const char* kAskMessage = "Open %s with the program your desktop chooses?";

    TFollowLinkAction(HyperlinkComp* link, CDocument* document);

    bool CanUndo() const override { return true; }
    bool ModifiesDocument() const override { return false; }
    void Do() override;
    void Undo() override {}

    // Opens a path as an editor document; false when it could not be opened.
    // The default asks the application; tests put their own in place (null
    // restores the default). Answers the one replaced.
    using DocumentOpener = std::function<bool(const CString& path)>;
    static DocumentOpener SetDocumentOpener(DocumentOpener opener);

    // The file a document link names: the folder of the document's path (with
    // its closing separator) followed by the link's text, whose "\"
    // separators become "/"; a text that is an absolute path stands alone.
    // Both paths are file-system bytes.
    static CString TargetPath(const CString& documentPath, const CString& linkText);

private:
    void FollowAddress(const QString& address, LinkAddress::Kind kind) const;
    void FollowRemoteFile(const QUrl& url) const;
    void FollowPath(const CString& target, bool document) const;

    HyperlinkComp* m_link;
    CDocument* m_document;
};
