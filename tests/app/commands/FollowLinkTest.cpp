// Following links: addresses go to the desktop, document links are found
// relative to the saved document's folder, and every failure is told.
#include "CommandTestSupport.h"

#include "app/TFollowLinkAction.h"
#include "foundation/ActionHost.h"
#include "math/HyperlinkComp.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/DesktopIntegration.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class FollowLinkTest : public CommandTest {
protected:
    FollowLinkTest()
    {
        EXPECT_TRUE(folder.isValid());
        QDir(folder.path()).mkpath("sub");
        for (const char* name : {"sub/other.vxm", "sub/notes.txt"}) {
            QFile file(folder.filePath(name));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        }
        m_oldOpener = TFollowLinkAction::SetDocumentOpener([this](const CString& path) {
            opened.push_back(path.str());
            return openSucceeds;
        });
        m_oldLinks = DesktopIntegration::SetLinkOpener([this](const QString& link) {
            desktop.push_back(link.toStdString());
            return true;
        });
    }
    ~FollowLinkTest() override
    {
        TFollowLinkAction::SetDocumentOpener(m_oldOpener);
        DesktopIntegration::SetLinkOpener(m_oldLinks);
    }

    void Follow(const char* url, bool external, bool saved = true)
    {
        CDocument document;
        if (saved)
            document.SetPathName(Path("base.vxm").c_str(), FALSE);
        HyperlinkComp link(Str255(url), Str255("here"), external);
        TFollowLinkAction action(&link, &document);
        action.Perform();
    }
    std::string Path(const char* name) const { return folder.filePath(name).toStdString(); }

    QTemporaryDir folder;
    std::vector<std::string> opened;
    std::vector<std::string> desktop;
    bool openSucceeds = true;

private:
    TFollowLinkAction::DocumentOpener m_oldOpener;
    DesktopIntegration::LinkOpener m_oldLinks;
};

TEST_F(FollowLinkTest, ADocumentLinkOpensRelativeToTheSavedDocument)
{
    Follow("sub/other.vxm", false);
    Follow("sub\\other.vxm", false);
    EXPECT_EQ(opened, (std::vector<std::string>{Path("sub/other.vxm"), Path("sub/other.vxm")}));
    EXPECT_TRUE(desktop.empty());
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(FollowLinkTest, OtherFilesOpenOnTheDesktop)
{
    Follow("sub/notes.txt", false);
    // Not external: "://" does not make it an address.
    Follow("sub/a://b.txt", false);
    EXPECT_EQ(desktop, (std::vector<std::string>{Path("sub/notes.txt"), Path("sub/a://b.txt")}));
    EXPECT_TRUE(opened.empty());
}

TEST_F(FollowLinkTest, AddressesGoToTheDesktopFromAnyDocument)
{
    Follow("https://example.org/page", true, false);
    Follow("mailto:someone@example.org", true, false);
    EXPECT_EQ(desktop, (std::vector<std::string>{"https://example.org/page", "mailto:someone@example.org"}));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(FollowLinkTest, FailuresAreToldAndOpenNothing)
{
    Follow("sub/other.vxm", false, false);
    EXPECT_EQ(ui.LastBoxText(), TFollowLinkAction::kUnsavedMessage);

    Follow("sub/missing.vxm", false);
    EXPECT_EQ(ui.LastBoxText(), TFollowLinkAction::kMissingFileMessage);
    EXPECT_TRUE(opened.empty());

    openSucceeds = false;
    Follow("sub/other.VXM.bak", false);
    EXPECT_EQ(ui.boxes.size(), 3u);
    Follow("sub/other.vxm", false);
    EXPECT_EQ(ui.boxes.size(), 4u);
    EXPECT_EQ(ui.LastBoxText(), TFollowLinkAction::kMissingFileMessage);
    EXPECT_TRUE(desktop.empty());
}

TEST_F(FollowLinkTest, FollowingIsAnUndoStepThatChangesNothing)
{
    CDocument document;
    document.SetPathName(Path("base.vxm").c_str(), FALSE);
    HyperlinkComp link(Str255("sub/other.vxm"), Str255("here"), false);
    ActionHost host(view);
    ASSERT_TRUE(host.Perform(new TFollowLinkAction(&link, &document)));
    EXPECT_FALSE(host.GetKept()->ModifiesDocument());
    EXPECT_EQ(host.MenuText(), "Undo Can't undo");
    EXPECT_TRUE(host.MenuEnabled());
    host.UndoOrRedo();
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(TFollowLinkAction::TargetPath("/a/b/doc.vxm", "c\\d.vxm"), "/a/b/c/d.vxm");
}
