#include "foundation/TextPrefs.h"
#include "app/dialogs/TextPrefsDialog.h"

#include "platform/AppProfile.h"
#include "platform/framework/ResourceStore.h"
#include "support/ScopedInstall.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>

class TextPrefsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(ResourceStore::instance().loadFile(QV_TEST_DATA "/TextPrefsDialog.json", &error))
            << error.toStdString();
        ASSERT_TRUE(settings.isValid());
        AppProfile::SetFolder(settings.path());
    }
    void TearDown() override
    {
        CDialog::SetModalHook({});
        AppProfile::SetFolder({});
    }

    // Runs the dialog over prefs with the hook playing the user.
    int Run(const std::function<void(CTextPrefsDialog&)>& user)
    {
        CTextPrefsDialog dialog(prefs);
        ScopedInstall script(CDialog::SetModalHook,
                             [&](CDialog& shown) { user(static_cast<CTextPrefsDialog&>(shown)); });
        return dialog.DoModal();
    }

    static std::string Selected(const CComboBox& box)
    {
        CString text;
        if (box.GetCurSel() != CB_ERR)
            box.GetLBText(box.GetCurSel(), text);
        return text.c_str();
    }

    static void Choose(CComboBox& box, const char* name)
    {
        const int index = box.FindStringExact(-1, name);
        ASSERT_NE(index, CB_ERR) << name;
        box.SetCurSel(index);
    }

    QTemporaryDir settings;
    TextPrefs prefs;
};

TEST_F(TextPrefsDialogTest, ListsEachFamilyOnceAndSelectsTheCurrentNames)
{
    prefs.italicFont.AssignText("liberation serif");
    int families = 0;
    int serifs = 0;
    Run([&](CTextPrefsDialog& dialog) {
        CComboBox& box = dialog.TextFontBox();
        families = box.GetCount();
        for (int i = 0; i < box.GetCount(); ++i) {
            CString text;
            box.GetLBText(i, text);
            serifs += text == CString("Liberation Serif");
        }
        // The program's own default face is listed so that it can stay chosen.
        EXPECT_EQ(Selected(box), "Corvell Roman");
        EXPECT_EQ(Selected(dialog.ItalicFontBox()), "Liberation Serif");
        dialog.PressButton(IDCANCEL);
    });
    EXPECT_GT(families, 3);
    EXPECT_EQ(serifs, 1);
}

TEST_F(TextPrefsDialogTest, TheCurrentNameIsMatchedWhole)
{
    // A name that only begins a family's name does not select that family.
    prefs.textFont.AssignText("Liberation");
    Run([&](CTextPrefsDialog& dialog) {
        EXPECT_EQ(Selected(dialog.TextFontBox()), "Liberation");
        dialog.PressButton(IDOK);
    });
    EXPECT_TRUE(prefs.textFont.EqualsText("Liberation"));
}

TEST_F(TextPrefsDialogTest, OkTakesTheSelectionsAndCancelChangesNothing)
{
    prefs.Save();
    int result = Run([&](CTextPrefsDialog& dialog) {
        Choose(dialog.TextFontBox(), "DejaVu Serif");
        dialog.PressButton(IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(prefs.textFont.EqualsText("Corvell Roman"));

    result = Run([&](CTextPrefsDialog& dialog) {
        Choose(dialog.TextFontBox(), "DejaVu Serif");
        Choose(dialog.BoldFontBox(), "Liberation Sans");
        Choose(dialog.ItalicFontBox(), "FreeSerif");
        dialog.PressButton(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(prefs.textFont.EqualsText("DejaVu Serif"));
    EXPECT_TRUE(prefs.boldFont.EqualsText("Liberation Sans"));
    EXPECT_TRUE(prefs.italicFont.EqualsText("FreeSerif"));
    // The dialog itself stores nothing; the caller saves a confirmed record.
    TextPrefs stored;
    stored.Load();
    EXPECT_TRUE(stored.textFont.EqualsText("Corvell Roman"));
}
