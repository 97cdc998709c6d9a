// Commands travel view, document, child frame, main frame, application; the
// first target with a handler takes them. Update handlers set the item's
// state; items nobody handles are disabled, and a disabled command is not run.
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QToolButton>

#include "FrameworkTestSupport.h"
#include "platform/framework/CToolBar.h"

TEST_F(FrameworkTest, CommandsAreRoutedInTheFiveStepOrder)
{
    // Without a document the main frame and the application remain; ranges receive the id.
    EXPECT_TRUE(app->mainFrame->OnCmdMsg(40001, nullptr));
    EXPECT_TRUE(app->mainFrame->OnCmdMsg(41010, nullptr));
    EXPECT_FALSE(app->mainFrame->OnCmdMsg(41011, nullptr));
    EXPECT_FALSE(app->mainFrame->OnCmdMsg(40099, nullptr));
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"40001 main frame", "range 41010"}));

    ASSERT_NE(OpenNewView(), nullptr);
    EventLog().clear();
    for (UINT id = 40001; id <= 40005; ++id)
        EXPECT_TRUE(app->mainFrame->OnCmdMsg(id, nullptr));
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"40001 view", "40002 document", "40003 child frame",
                                                    "40004 main frame", "40005 application"}));
}

TEST_F(FrameworkTest, UpdateHandlersSetStateAndUnhandledItemsAreDisabled)
{
    LogView* view = OpenNewView();
    ASSERT_NE(view, nullptr);
    CCmdUIProbe five(40005);
    five.DoUpdate(app->mainFrame, true);
    EXPECT_FALSE(five.m_bEnabled);
    EXPECT_EQ(five.m_nCheck, 1);
    EXPECT_STREQ(five.text(), "Five (off)");
    for (auto [target, id, enabled] : {std::tuple<CCmdTarget*, UINT, bool>{app->mainFrame, 40003, true},
                                       {app->mainFrame, 40099, false}, {view, 40002, true}, {view, 40004, false}}) {
        CCmdUIProbe probe(id);  // a command handler alone enables; a view routes to its document only
        probe.DoUpdate(target, true);
        EXPECT_EQ(bool(probe.m_bEnabled), enabled) << id;
    }
    // A disabled command is not run from a menu, toolbar or accelerator.
    EventLog().clear();
    EXPECT_FALSE(app->mainFrame->OnCmdMsgFromUser(40005));
    EXPECT_FALSE(app->mainFrame->OnCmdMsgFromUser(40099));
    EXPECT_TRUE(EventLog().empty());
}

static QAction* itemWithId(QMenu* menu, UINT id)
{
    for (QAction* a : menu->actions())
        if (CMenu::IdOf(a) == id)
            return a;
    return nullptr;
}

TEST_F(FrameworkTest, MenusSwitchWithTheActiveDocumentAndUpdateWhenOpened)
{
    EXPECT_EQ(MenuTitled(app->mainFrame, "Test"), nullptr);  // menu 128: no document

    ASSERT_NE(OpenNewView(), nullptr);
    QMenu* test = MenuTitled(app->mainFrame, "Test");
    ASSERT_NE(test, nullptr);  // menu 129 while a document window is active
    emit test->aboutToShow();
    EXPECT_TRUE(itemWithId(test, 40001)->isEnabled());
    EXPECT_FALSE(itemWithId(test, 40099)->isEnabled());

    // Choosing an item runs the command through the routing.
    EventLog().clear();
    itemWithId(test, 40002)->trigger();
    EXPECT_EQ(EventLog(), std::vector<std::string>{"40002 document"});
    // Items in nested popups route the same way.
    QMenu* more = nullptr;
    for (QAction* a : test->actions())
        if (a->menu())
            more = a->menu();
    ASSERT_NE(more, nullptr);
    itemWithId(more, 41005)->trigger();
    EXPECT_EQ(EventLog().back(), "range 41005");
}

// Exit destroys the main frame, which owns the menu that chose it, while
// that menu still handles the key or click: the menu goes once it is done.
TEST_F(FrameworkTest, AMenuOutlivesTheCommandThatDestroysItsFrame)
{
    QPointer<QMenu> file = MenuTitled(app->mainFrame, "File");
    ASSERT_FALSE(file.isNull());
    bool outlived = false;
    QObject::connect(file, &QMenu::triggered, [&] { outlived = !file.isNull(); });
    itemWithId(file, ID_APP_EXIT)->trigger();
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    EXPECT_TRUE(outlived) << "the menu was deleted while it emitted its choice";
    FlushEvents();
    EXPECT_TRUE(file.isNull());
}

TEST_F(FrameworkTest, ToolbarButtonsUpdateAtIdleAndRunTheirCommands)
{
    CToolBar bar;
    ASSERT_TRUE(bar.Create(app->mainFrame));
    ASSERT_TRUE(bar.LoadToolBar(128));
    app->mainFrame->DockControlBar(&bar);
    ASSERT_NE(OpenNewView(), nullptr);

    app->OnIdle(0);
    int five = bar.CommandToIndex(40005);
    ASSERT_GE(five, 0);
    EXPECT_FALSE(bar.GetButton(five)->isEnabled());
    EXPECT_TRUE(bar.GetButton(five)->isChecked());
    EXPECT_TRUE(bar.GetButton(bar.CommandToIndex(40004))->isEnabled());

    EventLog().clear();
    bar.GetButton(bar.CommandToIndex(40003))->click();
    EXPECT_EQ(EventLog(), std::vector<std::string>{"40003 child frame"});

    bar.DestroyWindow();
}
