// The recent-file list in the File menu, popup menus whose command goes to
// their owner, notifications and keys of dialog controls, owner-drawn list
// items, the Window menu and menu prompts.
#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

#include "FrameworkTestSupport.h"
#include "platform/AppProfile.h"
#include "platform/draw/CDC.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/DialogControls.h"
#include "support/FakeUserInterface.h"

namespace {

QStringList visibleRecentItems(QMenu* file)
{
    QStringList texts;
    for (QAction* a : file->actions())
        if (CMenu::IdOf(a) >= ID_FILE_MRU_FILE1 && CMenu::IdOf(a) <= ID_FILE_MRU_FILE4 && a->isVisible())
            texts << a->text() + (a->isEnabled() ? "" : " (off)");
    return texts;
}

}

TEST_F(FrameworkTest, RecentFilesAppearInTheFileMenuAndMissingOnesLeave)
{
    app->LoadStdProfileSettings(4);
    QMenu* file = MenuTitled(app->mainFrame, "File");
    ASSERT_NE(file, nullptr);
    emit file->aboutToShow();
    EXPECT_EQ(visibleRecentItems(file), QStringList{"Recent File (off)"});

    QTemporaryDir dir;
    QStringList paths;
    for (const char* name : {"a.tst", "b.tst", "c.tst"}) {
        paths << dir.filePath(name);
        QFile f(paths.back());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    for (const QString& p : paths)
        app->AddToRecentFileList(p.toUtf8().constData());
    app->AddToRecentFileList(paths[0].toUtf8().constData());  // to the top, not twice
    emit file->aboutToShow();
    emit file->aboutToShow();  // items are made once
    EXPECT_EQ(visibleRecentItems(file), (QStringList{"&1 a.tst", "&2 c.tst", "&3 b.tst"}));
    // A menu opened for the first time shows the items its first one makes.
    CMenu fresh;
    ASSERT_TRUE(fresh.CreatePopupMenu());
    fresh.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "Recent File");
    CMenu::UpdatePopup(fresh.menu(), app.get(), true);
    EXPECT_EQ(visibleRecentItems(fresh.menu()), (QStringList{"&1 a.tst", "&2 c.tst", "&3 b.tst"}));

    // The list lives in the settings.
    app->LoadStdProfileSettings(4);
    EXPECT_EQ(app->RecentFiles().size(), 3u);

    // A recent file that is gone is reported and leaves the list.
    QFile::remove(paths[2]);
    FakeUserInterface ui;
    EXPECT_FALSE(app->OnOpenRecentFile(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(app->RecentFiles().size(), 2u);
    EXPECT_TRUE(app->OnOpenRecentFile(ID_FILE_MRU_FILE1));
    EXPECT_EQ(app->mainFrame->GetActiveDocument()->GetTitle(), "a.tst");
}

TEST_F(FrameworkTest, APopupMenuSendsTheChosenCommandToItsOwner)
{
    LogView* view = OpenNewView();
    ASSERT_NE(view, nullptr);
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, 40002, "Second");
    popup.AppendMenu(MF_STRING | MF_GRAYED, 40001, "First");
    popup.AppendMenu(MF_SEPARATOR);
    popup.AppendMenu(MF_STRING, 33000, "Alternative");
    EXPECT_FALSE(popup.FindItem(40001)->isEnabled());
    EventLog().clear();
    // The choice is made in the menu's loop, or never: the timer goes with the test's scope.
    QObject scope;
    QTimer::singleShot(0, &scope, [&] {
        QMenu* menu = popup.menu();
        menu->setActiveAction(popup.FindItem(40002));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    });
    popup.TrackPopupMenu(TPM_CENTERALIGN | TPM_RIGHTBUTTON, 200, 200, view);
    EXPECT_EQ(EventLog(), std::vector<std::string>{"40002 document"});  // view, then its document

    // Opened at a point near or past the screen's edges, the menu stands on
    // the screen: above the point when there is no room below it.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint points[] = {screen.bottomRight() - QPoint(20, 5), screen.bottomLeft() + QPoint(-300, 400),
                             screen.topRight() + QPoint(100, -50)};
    for (const QPoint& point : points) {
        QRect shown;
        QTimer::singleShot(0, &scope, [&] {
            shown = popup.menu()->geometry();
            popup.menu()->close();
        });
        popup.TrackPopupMenu(TPM_CENTERALIGN | TPM_RIGHTBUTTON, point.x(), point.y(), view);
        EXPECT_TRUE(screen.contains(shown)) << point.x() << "," << point.y();
        if (screen.contains(point)) {
            EXPECT_LE(shown.bottom(), point.y());
        }
    }
}

namespace {

class NotifyDialog : public CDialog {
public:
    NotifyDialog() : CDialog(9001)
    {
        MapNotifyRange(BN_CLICKED, 1005, 1007, [this](UINT id) { clicks.push_back(int(id)); });
        MapNotify(CBN_SELCHANGE, 1004, [this] { ++comboChanges; });
    }
    std::vector<int> clicks;
    int comboChanges = 0;
};

void key(QWidget* target, int k)
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

}

TEST(DialogControls, NotificationsReachTheDialogAndEnterOrEscEndIt)
{
    LoadTestResources();
    NotifyDialog d;
    CDialog::ModalHook old = CDialog::SetModalHook([](CDialog& dialog) {
        auto& nd = static_cast<NotifyDialog&>(dialog);
        qobject_cast<QAbstractButton*>(dialog.GetDlgItem(1006)->widget())->click();
        qobject_cast<QAbstractButton*>(dialog.GetDlgItem(1007)->widget())->click();
        EXPECT_EQ(nd.clicks, (std::vector<int>{1006, 1007}));
        EXPECT_EQ(dialog.GetCheckedRadioButton(1005, 1007), 1007);  // one of the group at a time
        dialog.SetDlgItemText(1000, "5");
        key(dialog.dialog(), Qt::Key_Return);  // the default button: OK
        EXPECT_TRUE(dialog.IsEnded());
    });
    EXPECT_EQ(d.DoModal(), IDOK);
    NotifyDialog e;
    CDialog::SetModalHook([](CDialog& dialog) { key(dialog.dialog(), Qt::Key_Escape); });
    EXPECT_EQ(e.DoModal(), IDCANCEL);
    CDialog::SetModalHook(old);
    FlushEvents();
}

namespace {

class PictureList : public CDragListBox {
public:
    std::vector<DWORD_PTR> drawn;
    void DrawItem(DRAWITEMSTRUCT* item) override
    {
        drawn.push_back(item->itemData);
        item->pDC->FillSolidRect(item->rcItem, RGB(0, 0, 255));
    }
    void MeasureItem(MEASUREITEMSTRUCT* item) override { item->itemHeight = 120; }
};

class ListHost : public CWnd {
public:
    ListHost()
    {
        SetWidget(new QWidget, true);
        CreateControlsFromTemplate(9006);
    }
};

}

TEST(DialogControls, OwnerDrawnListsDrawEachItemWithItsData)
{
    ASSERT_TRUE(ResourceStore::instance().loadJson(
        R"({"dialogs":[{"id":9006,"size":[120,200],"controls":[["list",1130,"",0,0,120,200,"ownerdraw"]]}]})"));
    ListHost host;
    PictureList list;
    list.Attach(host.GetDlgItem(1130)->widget());
    list.SetDlgCtrlID(1130);
    list.EnableOwnerDraw();
    for (int i = 0; i < 3; ++i) {
        int at = list.AddString("");
        list.SetItemData(at, DWORD_PTR(100 + i));
    }
    host.widget()->resize(200, 400);
    list.widget()->resize(200, 400);
    list.widget()->grab();  // paints the items
    EXPECT_GE(list.drawn.size(), 3u);
    EXPECT_EQ(list.drawn.front(), DWORD_PTR(100));
    EXPECT_EQ(list.list()->visualItemRect(list.list()->item(1)).height(), 120);
    EXPECT_EQ(list.DeleteString(0), 2);
    EXPECT_EQ(list.GetItemData(0), DWORD_PTR(101));
}

TEST_F(FrameworkTest, TheWindowMenuListsTheDocumentWindows)
{
    ASSERT_NE(OpenNewView(), nullptr);
    ASSERT_NE(OpenNewView(), nullptr);
    QMenu* window = MenuTitled(app->mainFrame, "Window");
    ASSERT_NE(window, nullptr);
    emit window->aboutToShow();
    emit window->aboutToShow();
    QStringList listed;
    for (QAction* a : window->actions())
        if (a->property("qv_window").isValid() && !a->isSeparator())
            listed << a->text() + (a->isChecked() ? " *" : "");
    EXPECT_EQ(listed, (QStringList{"&1 Doc1", "&2 Doc2 *"}));
}

TEST_F(FrameworkTest, MenuItemsPromptInTheStatusBarAndItReadsReadyAfterwards)
{
    FakeUserInterface ui;
    QMenu* file = MenuTitled(app->mainFrame, "File");
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(ResourceStore::instance().loadJson(R"({"strings":{"57601":"Open an existing document\nOpen"}})"));
    for (QAction* a : file->actions())
        if (CMenu::IdOf(a) == ID_FILE_OPEN)
            emit file->hovered(a);
    EXPECT_EQ(ui.LastStatus(), "Open an existing document");
    emit file->aboutToHide();
    EXPECT_EQ(ui.LastStatus(), "Ready");
}

// An update that renames an item ("Undo typing") keeps the item's shortcut
// text; a new text with its own shortcut part replaces both.
TEST(MenuItemText, ARenamedItemKeepsItsShortcutText)
{
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, 57643, "&Undo\tCtrl+Z");
    CMenuItemCmdUI ui(popup.FindItem(57643));
    ui.SetText("Undo typing");
    EXPECT_EQ(popup.FindItem(57643)->text(), "Undo typing\tCtrl+Z");
    ui.SetText("Redo create object");
    EXPECT_EQ(popup.FindItem(57643)->text(), "Redo create object\tCtrl+Z");
    ui.SetText("Undo\tAlt+Backspace");
    EXPECT_EQ(popup.FindItem(57643)->text(), "Undo\tAlt+Backspace");
}
