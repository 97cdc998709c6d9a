// Dialogs from templates: controls by id, data exchange that refuses bad
// values with the framework's texts through the seam and keeps the dialog
// open, modal answers, modeless dialogs that delete themselves, and the
// common file dialog answering the chosen folder.
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

#include "FrameworkTestSupport.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CommonDialogs.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/DialogControls.h"
#include "platform/framework/DialogTemplateBuilder.h"
#include "support/FakeUserInterface.h"
#include "support/ScopedInstall.h"

namespace {

class ValidationDialog : public CDialog {
public:
    ValidationDialog() : CDialog(9001) {}
    int count = 2;
    double scale = 1.0 / 3.0;
    CString name = "abc";
    int enabled = 1;
    int level = 1;
    int kind = 2;
    CComboBox levels;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        levels.AddString("Low");
        levels.AddString("Medium");
        levels.AddString("High");
        UpdateData(FALSE);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, 1004, levels);
        DDX_Text(dx, 1000, count);
        DDV_MinMaxInt(dx, count, 1, 40);
        DDX_Text(dx, 1001, scale);
        DDX_Text(dx, 1002, name);
        DDV_MaxChars(dx, name, 5);
        DDX_Check(dx, 1003, enabled);
        DDX_CBIndex(dx, 1004, level);
        DDX_Radio(dx, 1005, kind);
    }
};

// Runs a dialog with a script in place of the user.
int runScripted(CDialog& dialog, std::function<void(CDialog&)> script)
{
    ScopedInstall user(CDialog::SetModalHook, std::move(script));
    return dialog.DoModal();
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { LoadTestResources(); }
    void TearDown() override { FlushEvents(); }
};

}

TEST_F(DialogTest, ControlsAreLoadedFromTheMembersAndCancelKeepsThem)
{
    ValidationDialog d;
    int result = runScripted(d, [](CDialog& dialog) {
        CString text;
        dialog.GetDlgItemText(1000, text);
        EXPECT_EQ(text, "2");
        dialog.GetDlgItemText(1001, text);
        EXPECT_EQ(text, "0.333333333333333");  // 15 significant digits
        EXPECT_EQ(dialog.IsDlgButtonChecked(1003), UINT(BST_CHECKED));
        EXPECT_EQ(dialog.GetCheckedRadioButton(1005, 1007), 1007);
        auto* name = qobject_cast<QLineEdit*>(dialog.GetDlgItem(1002)->widget());
        EXPECT_EQ(name->maxLength(), 5);  // the limit applies while typing too
        EXPECT_EQ(static_cast<ValidationDialog&>(dialog).levels.GetCurSel(), 1);
        dialog.SetDlgItemText(1000, "7");
        dialog.PressButton(IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(d.count, 2);

    ValidationDialog cleared;
    cleared.kind = -1;  // a kind without a button clears them all
    runScripted(cleared, [](CDialog& dialog) { EXPECT_EQ(dialog.GetCheckedRadioButton(1005, 1007), 0); });
}

TEST_F(DialogTest, AnIntegerFieldRefusesTextAndTheDialogStaysOpen)
{
    FakeUserInterface ui;
    ValidationDialog d;
    int result = runScripted(d, [&](CDialog& dialog) {
        // Each value's own refusals are the data-exchange tests'.
        dialog.SetDlgItemText(1000, "abc");
        dialog.PressButton(IDOK);
        EXPECT_FALSE(dialog.IsEnded());
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, "Please enter an integer.");

        dialog.SetDlgItemText(1000, "40");
        dialog.SetDlgItemText(1001, " 2.5 ");
        dialog.SetDlgItemText(1002, "");
        qobject_cast<QLineEdit*>(dialog.GetDlgItem(1002)->widget())->setMaxLength(100);
        dialog.SetDlgItemText(1002, "abcdefg");
        dialog.PressButton(IDOK);
        EXPECT_EQ(ui.LastBoxText(), "Please enter no more than 5 characters.");
        EXPECT_FALSE(dialog.IsEnded());

        dialog.SetDlgItemText(1002, "xyz");
        dialog.CheckDlgButton(1003, BST_UNCHECKED);
        dialog.CheckRadioButton(1005, 1007, 1005);
        dialog.PressButton(IDOK);
        EXPECT_TRUE(dialog.IsEnded());
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(d.count, 40);
    EXPECT_DOUBLE_EQ(d.scale, 2.5);
    EXPECT_EQ(d.name, "xyz");
    EXPECT_EQ(d.enabled, 0);
    EXPECT_EQ(d.kind, 0);
}

TEST_F(DialogTest, DialogUnitsFollowTheDialogFont)
{
    const DialogTemplate* t = ResourceStore::instance().dialog(9001);
    ASSERT_NE(t, nullptr);
    QFont font = DialogFont(*t);
    QSize base = DialogBaseUnits(font);
    EXPECT_GT(base.height(), 8);
    QRect r = DialogUnitsToPixels(font, 4, 8, 40, 16);
    EXPECT_EQ(r, QRect(base.width(), base.height(), base.width() * 10, base.height() * 2));

    ValidationDialog d;
    runScripted(d, [&](CDialog& dialog) {
        QRect edit = dialog.GetDlgItem(1000)->widget()->geometry();
        EXPECT_EQ(edit, DialogUnitsToPixels(font, 60, 7, 40, 12));
        EXPECT_EQ(dialog.dialog()->size(), DialogUnitsToPixels(font, 0, 0, 200, 120).size());
    });
}

namespace {
class SelfDeletingPalette : public CDialog {
public:
    explicit SelfDeletingPalette(bool* deleted) : m_deleted(deleted) {}
    ~SelfDeletingPalette() override { *m_deleted = true; }
    void OnCancel() override { DestroyWindow(); }

protected:
    void PostNcDestroy() override { delete this; }

private:
    bool* m_deleted;
};
}

TEST_F(DialogTest, ModelessDialogsDeleteThemselvesWhenDestroyed)
{
    bool deleted = false;
    auto* palette = new SelfDeletingPalette(&deleted);
    ASSERT_TRUE(palette->Create(9002));
    EXPECT_TRUE(palette->IsWindowVisible());
    palette->SendMessage(WM_CLOSE);  // the close box: OnCancel, which destroys it
    EXPECT_TRUE(deleted);
}

TEST_F(DialogTest, TheFileDialogAnswersTheChosenFolderAndLeavesTheCurrentDirectory)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("kernel");
    QString file = dir.filePath("kernel/MathKernel.exe");
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    QString before = QDir::currentPath();

    CFileDialog dialog(TRUE, "exe", "MathKernel.exe", OFN_FILEMUSTEXIST | OFN_EXPLORER,
                       "Executable files (*.exe) |*.exe||");
    dialog.m_ofn.lpstrTitle = "Locate the kernel";
    ScopedInstall picker(SetCommonDialogHook, [&](QDialog& d) {
        auto& files = static_cast<QFileDialog&>(d);
        EXPECT_EQ(files.windowTitle(), "Locate the kernel");
        EXPECT_EQ(files.nameFilters(), QStringList{"Executable files (*.exe)"});
        files.selectFile(file);
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(PathToQString(dialog.GetFolderPath()), dir.filePath("kernel") + "/");
    EXPECT_EQ(dialog.GetFileName(), "MathKernel.exe");
    EXPECT_EQ(dialog.GetFileTitle(), "MathKernel");
    EXPECT_EQ(QDir::currentPath(), before);

    EXPECT_EQ(CFileDialog::NameFilters("TeX files (*.tex) |*.tex|All|*.a;*.b||"),
              (QStringList{"TeX files (*.tex)", "All (*.a *.b)"}));
}
