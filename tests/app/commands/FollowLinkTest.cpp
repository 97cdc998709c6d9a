// Following links: addresses go to the desktop, document links are found
// relative to the saved document's folder, and every failure is told.
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
        for (const char* name : {"sub/other.vxm", "sub/notes.txt"})
            EXPECT_TRUE(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));
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
    const std::string other = Path("sub/other.vxm"), missing = TFollowLinkAction::kMissingFileMessage;
    struct Case {
        const char* url;
        bool external, saved, opens;
        std::string opened, desktop, box;
    } const cases[] = {
        {"sub/other.vxm", false, true, true, other, "", ""},
        {"sub\\other.vxm", false, true, true, other, "", ""},
        {"sub/notes.txt", false, true, true, "", Path("sub/notes.txt"), ""},
        {"sub/a://b.txt", false, true, true, "", Path("sub/a://b.txt"), ""},  // not an address
        {"https://example.org/page", true, false, true, "", "https://example.org/page", ""},
        {"mailto:someone@example.org", true, false, true, "", "mailto:someone@example.org", ""},
        {"sub/other.vxm", false, false, true, "", "", TFollowLinkAction::kUnsavedMessage},
        {"sub/missing.vxm", false, true, true, "", "", missing},
        {"sub/other.vxm", false, true, false, other, "", missing},  // the editor could not open it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        opened.clear(), desktop.clear(), ui.boxes.clear();
        opens = c.opens;
        CDocument document;
        if (c.saved)
            document.SetPathName(Path("base.vxm").c_str(), FALSE);
        HyperlinkComp link(Str255(c.url), Str255("here"), c.external);
        TFollowLinkAction(&link, &document).Perform();
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(desktop, c.desktop);
        EXPECT_EQ(ui.LastBoxText(), c.box);
        EXPECT_LE(ui.boxes.size(), 1u);
    }
}
