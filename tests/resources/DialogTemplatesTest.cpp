// Every dialog template of the program builds into a dialog whose controls
// answer to their ids; the templates follow the ids and texts the code uses.
#include <QSet>
#include <QWidget>

#include "LoadedResources.h"
#include "platform/framework/CDialog.h"

namespace {

const UINT kDialogIds[] = {100, 132, 133, 134, 135, 136, 140, 141, 147, 148, 152, 154, 155, 158, 159, 160,
                           162, 164, 167, 172, 175, 177, 182, 185, 191, 192, 194, 198, 205, 206, 207, 208};

const QSet<QString> kKinds = {"static", "edit",  "button", "defbutton", "check", "radio", "group",
                              "combo",  "combo-edit", "list", "picture", "frame", "custom:dpile"};

}

TEST(DialogTemplates, EveryTemplateIsWellFormedAndBuilds)
{
    RequireProgramResources();
    for (UINT id : kDialogIds) {
        SCOPED_TRACE(id);
        const DialogTemplate* t = ResourceStore::instance().dialog(id);
        ASSERT_NE(t, nullptr);
        QSet<int> ids;
        int defaults = 0;
        for (const DialogControlTemplate& c : t->controls) {
            EXPECT_TRUE(kKinds.contains(c.kind)) << c.kind.toStdString();
            if (c.id != -1) {
                EXPECT_FALSE(ids.contains(c.id)) << "control " << c.id << " twice";
                ids.insert(c.id);
            }
            defaults += c.kind == "defbutton";
            // Drop-down lists give the height of their open list; all else must fit.
            int bottom = c.kind.startsWith("combo") ? c.y + 12 : c.y + c.cy;
            EXPECT_LE(c.x + c.cx, t->cx) << "control " << c.id << " " << c.text.toStdString();
            EXPECT_LE(bottom, t->cy) << "control " << c.id << " " << c.text.toStdString();
        }
        EXPECT_LE(defaults, 1);

        CDialog dialog;
        ASSERT_TRUE(dialog.Create(id)) << "dialog " << id << " does not build";
        for (int controlId : ids)
            EXPECT_NE(dialog.GetDlgItem(controlId), nullptr) << "control " << controlId;
        dialog.DestroyWindow();
    }
}

TEST(DialogTemplates, ControlsCarryTheTextsTheUserReads)
{
    RequireProgramResources();
    struct Entry {
        UINT dialog;
        int control;
        const char* text;
    };
    const Entry entries[] = {
        {175, 1110, "Find"},         {175, 1111, "Replace"},      {175, 1112, "Replace and Find"},
        {175, 1113, "Replace All"},  {177, 1054, "hat"},          {177, 1119, "double dot"},
        {177, 1121, "bar"},          {136, 1002, "Number printed pages"},
        {194, 1003, "Left Arrow Head"}, {194, 1126, "Change..."}, {141, 1003, "Show kernel warnings"},
        {158, 1099, "Move C terms to back"}, {160, 1090, "->"},    {164, 1096, "Starting the kernel..."},
        {155, 1093, "Select one of the following options"},        {192, 1002, "Use fill"},
        {198, 1004, "Show Grid Lines"}, {191, 1002, "Locked"},     {207, 1093, "Select a variable:"},
    };
    for (const Entry& e : entries) {
        CDialog dialog;
        ASSERT_TRUE(dialog.Create(e.dialog));
        CString text;
        dialog.GetDlgItemText(e.control, text);
        EXPECT_EQ(text, e.text) << e.dialog << "/" << e.control;
        dialog.DestroyWindow();
    }
}

TEST(DialogTemplates, GivenSizesAndCaptionsHold)
{
    RequireProgramResources();
    struct Entry {
        UINT id;
        const char* caption;
        int cx, cy;
    };
    const Entry entries[] = {{147, "Plot Parameters", 242, 121}, {148, "Plot Parameters", 222, 215},
                             {154, "Text Preferences", 224, 95}, {191, "Variable Properties", 186, 69},
                             {192, "Color and Fill", 175, 142},  {198, "Drawing Properties", 172, 261},
                             {205, "Create Vertex", 143, 90},    {207, "Variable Values", 186, 61}};
    for (const Entry& e : entries) {
        const DialogTemplate* t = ResourceStore::instance().dialog(e.id);
        ASSERT_NE(t, nullptr) << e.id;
        EXPECT_EQ(t->caption, e.caption);
        EXPECT_EQ(t->cx, e.cx) << e.id;
        EXPECT_EQ(t->cy, e.cy) << e.id;
    }
}

TEST(DialogTemplates, ConstantsPaletteHasABoxPerLetter)
{
    RequireProgramResources();
    CDialog palette;
    ASSERT_TRUE(palette.Create(140));
    for (int i = 0; i < 52; ++i) {
        char letter = i < 26 ? char('A' + i) : char('a' + i - 26);
        CString text;
        palette.GetDlgItemText(1002 + i, text);
        EXPECT_EQ(text, CString(std::string(1, letter).c_str())) << 1002 + i;
    }
    palette.DestroyWindow();
}

TEST(DialogTemplates, OverscriptKindsFormOneGroup)
{
    RequireProgramResources();
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(177));
    dialog.CheckRadioButton(1054, 1121, 1119);
    dialog.CheckDlgButton(1054, 1);
    // Only one kind can be chosen at a time.
    EXPECT_TRUE(dialog.IsDlgButtonChecked(1054));
    EXPECT_FALSE(dialog.IsDlgButtonChecked(1119));
    dialog.DestroyWindow();
}
