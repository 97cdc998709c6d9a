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
            {"sub/tool",
             "\x7f"
             "ELF\2\1\1",
             true},
            {"sub/run.sh", "#!/bin/sh\necho hello\n", false},
            {"sub/setup", "#!/bin/sh\necho hello\n", false},
            {"sub/launch.desktop", "[Desktop Entry]\nType=Application\nExec=xterm\n", false},
            {"sub/\xce\xb4 notes.txt", "delta\n", false},
            {"sub/page.html", "<html><body>page</body></html>\n", false},
            {"sub/paper.pdf", "%PDF-1.4\n", false},
            {"sub/picture.png", "\x89PNG\r\n\x1a\n", false},
            {"sub/start.jnlp", "<jnlp><application-desc/></jnlp>\n", false},
            {"sub/start.lnk", "L\x01", false},
            {"sub/start.bat", "@echo off\r\nstart calc\r\n", false},
            {"sub/start.cmd", "@echo off\r\nstart calc\r\n", false},
            {"sub/start.ps1", "Start-Process calc\r\n", false},
            {"sub/start.vbs", "CreateObject(\"WScript.Shell\").Run \"calc\"\r\n", false},
            {"sub/start.flatpakref", "[Flatpak Ref]\nName=org.example.App\n", false},
            {"sub/start.deb", "!<arch>\ndebian-binary   ", false},
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
        QFile::link(folder.filePath("sub/launch.desktop"), folder.filePath("sub/link.txt"));
        m_links = DesktopIntegration::SetLinkOpener([this](const QString& link) {
            desktop = link.toStdString();
            return desktopOpens;
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
    bool opens = true, desktopOpens = true;
    TFollowLinkAction::DocumentOpener m_opener;
    DesktopIntegration::LinkOpener m_links;
};

TEST_F(FollowLinkTest, LinksOpenInTheEditorOrOnTheDesktopOrFailAloud)
{
    const std::string other = Path("sub/other.vxm"), notes = Path("sub/notes.txt");
    const std::string fileOther = "file://" + other, fileNotes = "file://" + notes;
    const std::string missing = TFollowLinkAction::kMissingFileMessage;
    const std::string askNotes = "Open \"" + notes + "\" with the program your desktop chooses?";
    const std::string askShare = "Open \"smb://server/share/notes.txt\" with the program your desktop chooses?";
    auto program = [&](const char* name) {
        return "This link points to a program, which is never started from a document:\n" + Path(name);
    };
    auto notData = [](const char* url) {
        return std::string("This link points to something other than a document, picture, text or web page, which "
                           "is never opened from a document:\n") +
            url;
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
        {"sub/other.vxm", false, true, false, 0, other, "", TFollowLinkAction::kFileOpenFailedMessage},
        // Web and mail addresses go straight to the desktop.
        {"https://example.org/page", true, false, true, 0, "", "https://example.org/page", ""},
        {"HTTP://example.org/", true, false, true, 0, "", "HTTP://example.org/", ""},
        {"mailto:someone@example.org", true, false, true, 0, "", "mailto:someone@example.org", ""},
        // Other files and schemes only when the user agrees.
        {"sub/notes.txt", false, true, true, IDYES, "", notes, askNotes},
        {"sub/notes.txt", false, true, true, IDNO, "", "", askNotes},
        {fileNotes, true, false, true, IDYES, "", notes, askNotes},
        {"smb://server/share/notes.txt", true, false, true, IDYES, "", "smb://server/share/notes.txt", askShare},
        {"smb://server/share/notes.txt", true, false, true, IDNO, "", "", askShare},
        {"sub/a://b.txt", false, true, true, 0, "", "", missing}, // not an address: a missing file
        // Scripts never, whether the link is marked as an address or not.
        {"javascript:alert(1)", true, true, true, 0, "", "", notData("javascript:alert(1)")},
        {"JavaScript:alert(1)", false, true, true, 0, "", "", notData("JavaScript:alert(1)")},
        {"javascript://%0Aalert(1)", true, true, true, 0, "", "", notData("javascript://%0Aalert(1)")},
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
    // A path or address that the desktop would take to another computer.
    for (const QString& link : {"/" + QString::fromStdString(Path("sub/notes.txt")),
                                "file:/" + QString::fromStdString(Path("sub/notes.txt"))}) {
        EXPECT_FALSE(DesktopIntegration::OpenLink(link)) << link.toStdString();
        EXPECT_EQ(desktop, "");
    }
    EXPECT_TRUE(DesktopIntegration::OpenLink(QString::fromStdString(Path("sub/notes.txt"))));
}

// Hostile links, with Yes answered to every question: only mail, web pages
// and files that hold data reach the desktop, and a local file reaches it as
// the canonical path that was checked, never as an address the desktop would
// resolve elsewhere ("//host/..." or "file://host/...").
TEST_F(FollowLinkTest, HostileLinksNeverHandAnythingButDataToTheDesktop)
{
    const std::string sub = Path("sub"), notes = Path("sub/notes.txt");
    const std::string delta = Path("sub/\xce\xb4 notes.txt");
    const std::string notData = TFollowLinkAction::kNotDataMessage;
    auto refused = [&](const std::string& target) { return notData.substr(0, notData.size() - 2) + target; };
    auto ask = [](const std::string& target) {
        return "Open \"" + target + "\" with the program your desktop chooses?";
    };
    auto program = [](const std::string& target) {
        return "This link points to a program, which is never started from a document:\n" + target;
    };
    const std::string otherComputer = "This link names a file on another computer, which is never opened as a "
                                      "local file:\n";
    struct Case {
        std::string url;
        bool external;
        std::string desktop, box;
        bool desktopOpens = true;
    } const cases[] = {
        // A host part is refused or resolved to the very path checked.
        {"file:/" + notes, true, "", otherComputer + "file:/" + notes},
        {"/" + notes, false, notes, ask(notes)},
        {"sub/../sub/./notes.txt", false, notes, ask(notes)},
        {"file://" + sub + "/../sub/notes.txt", true, notes, ask(notes)},
        {"sub/link.txt", false, "", program(Path("sub/launch.desktop"))},
        // Only data types reach the desktop, whatever the scheme.
        {"ftp://example.org/pub/launch.desktop", true, "", refused("ftp://example.org/pub/launch.desktop")},
        {"smb://server/share/launch.desktop", true, "", refused("smb://server/share/launch.desktop")},
        {"sftp://server/home/run.sh", true, "", refused("sftp://server/home/run.sh")},
        {"FTP://example.org/pub/setup.deb", true, "", refused("ftp://example.org/pub/setup.deb")},
        {"smb://server/share", true, "", refused("smb://server/share")},
        {"steam://run/42", true, "", refused("steam://run/42")},
        {"ftp://example.org/pub/paper.pdf", true, "ftp://example.org/pub/paper.pdf",
         ask("ftp://example.org/pub/paper.pdf")},
        {"sub/start.jnlp", false, "", refused(Path("sub/start.jnlp"))},
        {"sub/start.lnk", false, "", refused(Path("sub/start.lnk"))},
        {"sub/start.bat", false, "", refused(Path("sub/start.bat"))},
        {"sub/start.cmd", false, "", refused(Path("sub/start.cmd"))},
        {"sub/start.ps1", false, "", refused(Path("sub/start.ps1"))},
        {"sub/start.vbs", false, "", refused(Path("sub/start.vbs"))},
        {"sub/start.flatpakref", false, "", refused(Path("sub/start.flatpakref"))},
        {"sub/start.deb", false, "", refused(Path("sub/start.deb"))},
        {"sub/launch.desktop", false, "", program(Path("sub/launch.desktop"))},
        {"sub/page.html", false, Path("sub/page.html"), ask(Path("sub/page.html"))},
        {"sub/paper.pdf", false, Path("sub/paper.pdf"), ask(Path("sub/paper.pdf"))},
        {"sub/picture.png", false, Path("sub/picture.png"), ask(Path("sub/picture.png"))},
        // Mail in any case, never with attachments.
        {"MAILTO:someone@example.org", true, "mailto:someone@example.org", ""},
        {"mailto:a@example.org?subject=Hi&attach=/home/me/.ssh/id_rsa", true, "mailto:a@example.org?subject=Hi", ""},
        {"mailto:a@example.org?ATTACHMENT=%2Fetc%2Fpasswd&body=x", true, "mailto:a@example.org?body=x", ""},
        {"https://example.org/page", true, "https://example.org/page", ""},
        // The question shows the target that opens, whatever its characters.
        {"file://" + sub + "/%CE%B4%20notes.txt", true, delta, ask(delta)},
        // An existing file the desktop could not open is told as such.
        {"sub/notes.txt", false, notes, ask(notes), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        desktop.clear(), ui.boxes.clear();
        desktopOpens = c.desktopOpens;
        ui.ScriptAnswers({IDYES});
        CDocument document;
        document.SetPathName(Path("base.vxm").c_str(), FALSE);
        HyperlinkComp link(Str255(c.url.c_str()), Str255("here"), c.external);
        TFollowLinkAction(&link, &document).Perform();
        EXPECT_EQ(desktop, c.desktop);
        ASSERT_LE(ui.boxes.size(), 2u);
        EXPECT_EQ(ui.boxes.empty() ? "" : ui.boxes.front().text, c.box);
        EXPECT_EQ(ui.boxes.size() == 2 ? ui.boxes.back().text : "",
                  c.desktopOpens ? "" : TFollowLinkAction::kFileOpenFailedMessage);
    }
}
