// The shell's small dialogs over the program's templates: the counts of new
// matrices, tables, equation sets and split definitions, page numbering,
// overscript kinds, link properties, a drawing variable's value and a line's
// style. Bad values are refused with the framework's message and keep the
// dialog open; the user's part is scripted.
#include <QAbstractButton>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/LinkPropertiesPrompt.h"
#include "app/dialogs/CCreateEquationSetDialog.h"
#include "app/dialogs/CCreateMatrixDialog.h"
#include "app/dialogs/CCreateOverscriptDialog.h"
#include "app/dialogs/CCreateSplitDefinitionDialog.h"
#include "app/dialogs/CCreateTableDialog.h"
#include "app/dialogs/CLinePropertiesDialog.h"
#include "app/dialogs/CLinkPropertiesDialog.h"
#include "app/dialogs/CPageNumberingDialog.h"
#include "app/dialogs/CVariableValueDialog.h"
#include "foundation/CompList.h"
#include "math/HyperlinkComp.h"
#include "platform/framework/CommonDialogs.h"
#include "resources/ProgramResources.h"
#include "support/FakeUserInterface.h"
#include "support/ScopedInstall.h"
#include "DialogScript.h"

namespace {

CString Text(CDialog& dialog, int id)
{
    CString text;
    dialog.GetDlgItemText(id, text);
    return text;
}

QAbstractButton* Button(CDialog& dialog, int id)
{
    return qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id)->widget());
}

// Puts text into a field and presses OK: true when the dialog ended.
bool TryOk(CDialog& dialog, int id, const char* text)
{
    dialog.SetDlgItemText(id, text);
    dialog.PressButton(IDOK);
    return dialog.IsEnded();
}

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(RegisterProgramResources(&error)) << error.toStdString();
    }
    FakeUserInterface ui;
};

const char* const kCountRange = "Please enter an integer between 1 and 40.";

}

TEST_F(DialogsTest, RowsAndColumnsAreRefusedOutside1To40)
{
    CCreateMatrixDialog matrix(3, 4);
    CCreateTableDialog table(2, 2);
    for (CRowsColumnsDialog* d : std::initializer_list<CRowsColumnsDialog*>{&matrix, &table}) {
        ui.boxes.clear();
        int rowsAtStart = d->m_nRows;
        int result = RunScripted(*d, [&](CDialog& dialog) {
            EXPECT_EQ(Text(dialog, 1000), std::to_string(rowsAtStart).c_str());
            EXPECT_FALSE(TryOk(dialog, 1000, "41"));
            EXPECT_EQ(ui.LastBoxText(), kCountRange);
            EXPECT_FALSE(TryOk(dialog, 1000, "0"));
            EXPECT_EQ(ui.LastBoxText(), kCountRange);
            dialog.SetDlgItemText(1000, "40");
            EXPECT_FALSE(TryOk(dialog, 1001, "41"));
            EXPECT_EQ(ui.boxes.size(), 3u);
            EXPECT_TRUE(TryOk(dialog, 1001, "1"));
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(d->m_nRows, 40);
        EXPECT_EQ(d->m_nColumns, 1);
    }
}

TEST_F(DialogsTest, EntryCountsAreRefusedOutside1To40AndCancelKeepsTheGivenCount)
{
    CCreateEquationSetDialog equations(3);
    CCreateSplitDefinitionDialog split(2);
    for (CEntryCountDialog* d : std::initializer_list<CEntryCountDialog*>{&equations, &split}) {
        int result = RunScripted(*d, [&](CDialog& dialog) {
            EXPECT_FALSE(TryOk(dialog, 1000, "0"));
            EXPECT_EQ(ui.LastBoxText(), kCountRange);
            EXPECT_TRUE(TryOk(dialog, 1000, "40"));
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(d->m_nEntries, 40);
    }
    CCreateSplitDefinitionDialog cancelled(5);
    EXPECT_EQ(RunScripted(cancelled, [](CDialog& dialog) {
        dialog.SetDlgItemText(1000, "7");
        dialog.PressButton(IDCANCEL);
    }), IDCANCEL);
    EXPECT_EQ(cancelled.m_nEntries, 5);
}

TEST_F(DialogsTest, TheFirstPageNumberRunsFrom1To32767)
{
    CPageNumberingDialog d(false, 5);
    int result = RunScripted(d, [&](CDialog& dialog) {
        EXPECT_EQ(Text(dialog, 1000), "5");
        EXPECT_EQ(dialog.IsDlgButtonChecked(1002), UINT(BST_UNCHECKED));
        dialog.CheckDlgButton(1002, BST_CHECKED);
        EXPECT_FALSE(TryOk(dialog, 1000, "0"));
        EXPECT_EQ(ui.LastBoxText(), "Please enter an integer between 1 and 32767.");
        EXPECT_FALSE(TryOk(dialog, 1000, "32768"));
        EXPECT_TRUE(TryOk(dialog, 1000, "32767"));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(d.m_bNumberPages);
    EXPECT_EQ(d.m_nFirstPage, 32767);
}

TEST_F(DialogsTest, OverscriptKindsAreCharacterCodesOfTheirButtons)
{
    const std::vector<std::pair<int, int>> kinds = {{1054, 193}, {1055, 208}, {1118, 198},
                                                    {1119, 229}, {1120, 230}, {1121, 32}};
    // Each kind opens with its own button checked; clicking the next button picks that one's code.
    for (size_t k = 0; k < kinds.size(); ++k) {
        auto [button, code] = kinds[k];
        SCOPED_TRACE(button);
        auto [next, nextCode] = kinds[(k + 1) % kinds.size()];
        CCreateOverscriptDialog d(code, "ab");
        RunScripted(d, [&, button = button, next = next](CDialog& dialog) {
            for (auto [other, unused] : kinds)
                EXPECT_EQ(dialog.IsDlgButtonChecked(other), UINT(other == button ? BST_CHECKED : BST_UNCHECKED));
            EXPECT_EQ(Text(dialog, 1000), "ab");
            Button(dialog, next)->click();
            dialog.PressButton(IDOK);
        });
        EXPECT_EQ(d.m_nKind, nextCode);
    }

    // A code without a button: nothing checked, and the code stays unless one is picked.
    CCreateOverscriptDialog other(65, "x");
    RunScripted(other, [&](CDialog& dialog) {
        EXPECT_EQ(dialog.GetCheckedRadioButton(1054, 1121), 0);
        EXPECT_EQ(qobject_cast<QLineEdit*>(dialog.GetDlgItem(1000)->widget())->maxLength(), 255);
        dialog.SetDlgItemText(1000, "v + w");
        dialog.PressButton(IDOK);
    });
    EXPECT_EQ(other.m_nKind, 65);
    EXPECT_EQ(other.m_strText, "v + w");
}

TEST_F(DialogsTest, TextFieldsHoldAtMost255Characters)
{
    CLinkPropertiesDialog link("http://example.org/", "Example");
    int result = RunScripted(link, [&](CDialog& dialog) {
        EXPECT_EQ(Text(dialog, 1097), "http://example.org/");
        EXPECT_EQ(Text(dialog, 1098), "Example");
        for (int id : {1097, 1098})
            EXPECT_EQ(qobject_cast<QLineEdit*>(dialog.GetDlgItem(id)->widget())->maxLength(), 255);
        // Longer text than the field takes (put there some other way) is refused.
        auto* url = qobject_cast<QLineEdit*>(dialog.GetDlgItem(1097)->widget());
        url->setMaxLength(1000);
        url->setText(QString(256, 'w'));
        dialog.PressButton(IDOK);
        EXPECT_EQ(ui.LastBoxText(), "Please enter no more than 255 characters.");
        EXPECT_TRUE(TryOk(dialog, 1097, std::string(255, 'u').c_str()));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(link.m_strURL, std::string(255, 'u'));
}

TEST_F(DialogsTest, AVariableValueMustBeANumber)
{
    CVariableValueDialog d("radius", 1.5);
    int result = RunScripted(d, [&](CDialog& dialog) {
        EXPECT_EQ(Text(dialog, 1124), "radius");
        EXPECT_EQ(Text(dialog, 1000), "1.5");
        EXPECT_FALSE(TryOk(dialog, 1000, "two"));
        EXPECT_EQ(ui.LastBoxText(), "Please enter a number.");
        EXPECT_TRUE(TryOk(dialog, 1000, "-0.25"));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_DOUBLE_EQ(d.m_dValue, -0.25);
}

TEST_F(DialogsTest, ALineStyleOpensWithItsThicknessAndDashingAndReturnsItsFlags)
{
    CLinePropertiesDialog d(LineStyle{2 + 3 * 8, RGB(10, 20, 30)});
    int result = RunScripted(d, [](CDialog& dialog) {
        EXPECT_EQ(Items(Combo(dialog, 1076)), (QStringList{"0.5 Thin", "1.0 Medium", "2.0 Thick"}));
        EXPECT_EQ(Items(Combo(dialog, 1075)), (QStringList{"No Dashing", "--  --  --  --  --", "- - - - - - - - - ",
                                                           "--  -  --  -  --  -", "---  ---  ---  ---"}));
        EXPECT_EQ(Combo(dialog, 1076)->currentText(), "2.0 Thick");
        EXPECT_EQ(Combo(dialog, 1075)->currentIndex(), 3);
        EXPECT_EQ(dialog.IsDlgButtonChecked(1003), UINT(BST_UNCHECKED));
        EXPECT_EQ(dialog.IsDlgButtonChecked(1004), UINT(BST_UNCHECKED));
        dialog.CheckDlgButton(1003, BST_CHECKED);
        dialog.CheckDlgButton(1004, BST_CHECKED);
        dialog.PressButton(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(d.GetLineStyle().flags, 2 + 3 * 8 + 128 + 64);
    EXPECT_EQ(d.GetLineStyle().colour, RGB(10, 20, 30));

    // No dashing adds nothing; lists without a selection give thickness 1
    // and no dashing; each arrow head has its own bit.
    struct Case {
        int thickness, dashing;
        bool left, right;
        int32_t flags;
    };
    for (const Case& c : {Case{0, 0, false, true, 64}, Case{1, 4, true, false, 1 + 32 + 128},
                          Case{-1, -1, false, false, 1}}) {
        CLinePropertiesDialog e(LineStyle{2, 0});
        RunScripted(e, [&](CDialog& dialog) {
            Combo(dialog, 1076)->setCurrentIndex(c.thickness);
            Combo(dialog, 1075)->setCurrentIndex(c.dashing);
            dialog.CheckDlgButton(1003, c.left);
            dialog.CheckDlgButton(1004, c.right);
            dialog.PressButton(IDOK);
        });
        EXPECT_EQ(e.GetLineStyle().flags, c.flags);
    }

    // A line with arrow heads shows them, so that OK keeps them.
    CLinePropertiesDialog arrows(LineStyle{1 + 128 + 64, 0});
    RunScripted(arrows, [](CDialog& dialog) { dialog.PressButton(IDOK); });
    EXPECT_EQ(arrows.GetLineStyle().flags, 1 + 128 + 64);
}

TEST_F(DialogsTest, ChangeColourPaintsTheSwatchAndCancelKeepsTheOldStyle)
{
    auto swatchColour = [](CDialog& dialog) {
        QRect swatch = dialog.GetDlgItem(1128)->widget()->geometry();
        return dialog.dialog()->grab().toImage().pixelColor(swatch.center());
    };
    QColor offered;
    ScopedInstall colourPicker(SetCommonDialogHook, [&](QDialog& picker) {
        auto& colours = static_cast<QColorDialog&>(picker);
        offered = colours.currentColor();
        colours.setCurrentColor(QColor(200, 100, 50));
        return int(QDialog::Accepted);
    });
    CLinePropertiesDialog d(LineStyle{1 + 8, RGB(0, 0, 255)});
    RunScripted(d, [&](CDialog& dialog) {
        EXPECT_EQ(swatchColour(dialog), QColor(0, 0, 255));
        dialog.PressButton(1126);
        EXPECT_EQ(offered, QColor(0, 0, 255));
        EXPECT_EQ(swatchColour(dialog), QColor(200, 100, 50));
        dialog.PressButton(IDOK);
    });
    EXPECT_EQ(d.GetLineStyle().colour, RGB(200, 100, 50));
    EXPECT_EQ(d.GetLineStyle().flags, 1 + 8);

    // The colour dialog cancelled: the colour stays.
    SetCommonDialogHook([](QDialog& picker) {
        static_cast<QColorDialog&>(picker).setCurrentColor(Qt::green);
        return int(QDialog::Rejected);
    });
    CLinePropertiesDialog kept(LineStyle{2, RGB(1, 2, 3)});
    RunScripted(kept, [&](CDialog& dialog) {
        dialog.PressButton(1126);
        EXPECT_EQ(swatchColour(dialog), QColor(1, 2, 3));
        dialog.PressButton(IDOK);
    });
    EXPECT_EQ(kept.GetLineStyle().colour, RGB(1, 2, 3));

    // The whole dialog cancelled after changes: the style it was given.
    SetCommonDialogHook([](QDialog& picker) {
        static_cast<QColorDialog&>(picker).setCurrentColor(Qt::red);
        return int(QDialog::Accepted);
    });
    CLinePropertiesDialog cancelled(LineStyle{2 + 16 + 64, RGB(4, 5, 6)});
    EXPECT_EQ(RunScripted(cancelled, [](CDialog& dialog) {
        dialog.PressButton(1126);
        Combo(dialog, 1076)->setCurrentIndex(0);
        dialog.PressButton(IDCANCEL);
    }), IDCANCEL);
    EXPECT_EQ(cancelled.GetLineStyle().flags, 2 + 16 + 64);
    EXPECT_EQ(cancelled.GetLineStyle().colour, RGB(4, 5, 6));
}

TEST_F(DialogsTest, HyperlinksAreEditedInTheLinkPropertiesDialog)
{
    InstallLinkPropertiesPrompt();
    CompList row;
    auto* link = new HyperlinkComp("http://example.org/", "Example", true);
    row.Append(link);

    CDialog::ModalHook old = CDialog::SetModalHook([](CDialog& dialog) {
        EXPECT_EQ(Text(dialog, 1097), "http://example.org/");
        EXPECT_EQ(Text(dialog, 1098), "Example");
        dialog.PressButton(IDCANCEL);
    });
    EXPECT_FALSE(link->Edit(nullptr));
    EXPECT_STREQ(link->GetURL().GetText(), "http://example.org/");

    CDialog::SetModalHook([](CDialog& dialog) {
        dialog.SetDlgItemText(1097, "mailto:someone@example.org");
        dialog.SetDlgItemText(1098, "Write");
        dialog.PressButton(IDOK);
    });
    EXPECT_TRUE(link->Edit(nullptr));
    CDialog::SetModalHook(old);
    HyperlinkComp::SetPropertiesPrompt(nullptr);
    EXPECT_STREQ(link->GetURL().GetText(), "mailto:someone@example.org");
    EXPECT_STREQ(link->GetDisplayText().GetText(), "Write");
}
