// Following links: web and mail addresses go to the desktop, document links
// are found relative to the saved document's folder, any other target is
// asked about first, programs are never handed on, and every failure is told.
#include "CommandTestSupport.h"
#include "app/TFollowLinkAction.h"
#include "math/HyperlinkComp.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/DesktopIntegration.h"
#include <QDir>
#include <QTemporaryDir>

class FollowLinkTest : public CommandTest {
protected:
    FollowLinkTest()
    {
        QDir(folder.path()).mkpath("sub");
        struct File {
            const char* name;
            const char* text;
            bool executable;
        } const files[] = {
            {"sub/other.vxm", "", false},
            {"sub/notes.txt", "notes\n", false},
            {"sub/tool", "\x7f" "ELF\2\1\1", true},
            {"sub/run.sh", "#!/bin/sh\necho hello\n", false},
            {"sub/setup", "#!/bin/sh\necho hello\n", false},
            {"sub/launch.desktop", "[Desktop Entry]\nType=Application\nExec=xterm\n", false},
        };
        for (const File& f : files) {
            QFile file(folder.filePath(f.name));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(f.text);
            if (f.executable)
                file.setPermissions(file.permissions() | QFile::ExeOwner);
        }
        m_opener = TFollowLinkAction::SetDocumentOpener([this](const CString& path) {
            opened = path.str();
            return opens;
        });
        m_links = DesktopIntegration::SetLinkOpener([this](const QString& link) {
            desktop = link.toStdString();
            return true;
        });
    }
    ~FollowLinkTest() override
    {
        TFollowLinkAction::SetDocumentOpener(m_opener);
        DesktopIntegration::SetLinkOpener(m_links);
    }
    std::string Path(const char* name) const { return folder.filePath(name).toStdString(); }

    QTemporaryDir folder;
    std::string opened, desktop;
    bool opens = true;
    TFollowLinkAction::DocumentOpener m_opener;
    DesktopIntegration::LinkOpener m_links;
};

TEST_F(FollowLinkTest, LinksOpenInTheEditorOrOnTheDesktopOrFailAloud)
{
    const std::string other = Path("sub/other.vxm"), notes = Path("sub/notes.txt");
    const std::string fileOther = "file://" + other, fileNotes = "file://" + notes;
    const std::string missing = TFollowLinkAction::kMissingFileMessage;
    const std::string askNotes = "Open \"" + notes + "\" with the program your desktop chooses?";
    const std::string askShare = "Open \"smb://server/share\" with the program your desktop chooses?";
    auto program = [&](const char* name) {
        return "This link points to a program, which is never started from a document:\n" + Path(name);
    };
    // answer: the user's answer when asked (0: no question expected).
    struct Case {
        std::string url;
        bool external, saved, opens;
        int answer;
        std::string opened, desktop, box;
    } const cases[] = {
        // Documents open in the editor, relative, absolute or as file: addresses.
        {"sub/other.vxm", false, true, true, 0, other, "", ""},
        {"sub\\other.vxm", false, true, true, 0, other, "", ""},
        {other, false, true, true, 0, other, "", ""},
        {fileOther, true, false, true, 0, other, "", ""},
        {"sub/other.vxm", false, false, true, 0, "", "", TFollowLinkAction::kUnsavedMessage},
        {"sub/missing.vxm", false, true, true, 0, "", "", missing},
        {"sub/other.vxm", false, true, false, 0, other, "", missing},  // the editor could not open it
        // Web and mail addresses go straight to the desktop.
        {"https://example.org/page", true, false, true, 0, "", "https://example.org/page", ""},
        {"HTTP://example.org/", true, false, true, 0, "", "HTTP://example.org/", ""},
        {"ftp://example.org/file", true, false, true, 0, "", "ftp://example.org/file", ""},
        {"mailto:someone@example.org", true, false, true, 0, "", "mailto:someone@example.org", ""},
        // Other files and schemes only when the user agrees.
        {"sub/notes.txt", false, true, true, IDYES, "", notes, askNotes},
        {"sub/notes.txt", false, true, true, IDNO, "", "", askNotes},
        {fileNotes, true, false, true, IDYES, "", notes, askNotes},
        {"smb://server/share", true, false, true, IDYES, "", "smb://server/share", askShare},
        {"smb://server/share", true, false, true, IDNO, "", "", askShare},
        {"sub/a://b.txt", false, true, true, 0, "", "", missing},  // not an address: a missing file
        // Programs and desktop entries never, whatever would be answered.
        {"sub/tool", false, true, true, 0, "", "", program("sub/tool")},
        {"file://" + Path("sub/tool"), true, false, true, 0, "", "", program("sub/tool")},
        {"sub/run.sh", false, true, true, 0, "", "", program("sub/run.sh")},
        {"sub/setup", false, true, true, 0, "", "", program("sub/setup")},
        {"sub/launch.desktop", false, true, true, 0, "", "", program("sub/launch.desktop")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        opened.clear(), desktop.clear(), ui.boxes.clear();
        opens = c.opens;
        if (c.answer)
            ui.ScriptAnswers({c.answer});
        CDocument document;
        if (c.saved)
            document.SetPathName(Path("base.vxm").c_str(), FALSE);
        HyperlinkComp link(Str255(c.url.c_str()), Str255("here"), c.external);
        TFollowLinkAction(&link, &document).Perform();
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(desktop, c.desktop);
        EXPECT_EQ(ui.boxes.empty() ? "" : ui.boxes.front().text, c.box);
        EXPECT_LE(ui.boxes.size(), 1u);
    }
}

// The last guard sits below every caller: the desktop opener never sees a
// program file, even when asked for it directly.
TEST_F(FollowLinkTest, TheDesktopNeverStartsAProgramFile)
{
    for (const char* name : {"sub/tool", "sub/run.sh", "sub/launch.desktop"}) {
        desktop.clear();
        EXPECT_FALSE(DesktopIntegration::OpenLink(QString::fromStdString(Path(name))));
        EXPECT_FALSE(DesktopIntegration::OpenLink("file://" + QString::fromStdString(Path(name))));
        EXPECT_EQ(desktop, "");
    }
    EXPECT_TRUE(DesktopIntegration::OpenLink(QString::fromStdString(Path("sub/notes.txt"))));
}
