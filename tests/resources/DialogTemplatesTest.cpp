// Every dialog template of the program builds into a dialog whose controls
// answer to their ids and fit inside it.
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
