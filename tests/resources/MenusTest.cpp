// The program's menus and accelerators: every command is reachable, named and
// explained, and the menus agree with the toolbars and the display sizes.
#include <QSet>
#include <map>

#include "LoadedResources.h"
#include "platform/framework/CMenu.h"

namespace {

void collectIds(const std::vector<MenuItemTemplate>& items, std::vector<UINT>& ids)
{
    for (const MenuItemTemplate& item : items) {
        if (item.isPopup())
            collectIds(item.items, ids);
        else if (!item.separator)
            ids.push_back(item.id);
    }
}

std::vector<UINT> menuIds(UINT menuId)
{
    std::vector<UINT> ids;
    if (const MenuTemplate* menu = ResourceStore::instance().menu(menuId))
        collectIds(menu->items, ids);
    return ids;
}

}

class MenusTest : public ::testing::Test {
protected:
    void SetUp() override { RequireProgramResources(); }
};

TEST_F(MenusTest, EveryMenuBuildsAndHasUniqueCommandsEachWithAStatusPrompt)
{
    for (UINT menuId : {128u, 129u, 161u}) {
        SCOPED_TRACE(menuId);
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(menuId));
        EXPECT_EQ(menu.GetMenuItemCount(), int(ResourceStore::instance().menu(menuId)->items.size()));
        std::vector<UINT> ids = menuIds(menuId);
        ASSERT_FALSE(ids.empty());
        QSet<UINT> seen;
        for (UINT id : ids) {
            EXPECT_FALSE(seen.contains(id)) << "command " << id << " appears twice";
            seen.insert(id);
            const QString* prompt = ResourceStore::instance().string(id);
            ASSERT_NE(prompt, nullptr) << "command " << id << " has no status prompt";
            EXPECT_FALSE(prompt->section('\n', 0, 0).isEmpty()) << id;
        }
    }
}

TEST_F(MenusTest, ElementMenuAndElementButtonsLineUp)
{
    static const char* const kNames[] = {
        "Fraction",        "Exponent",   "Subscript",    "Radical",      "Overscript", "Total Derivative",
        "Prime",           "Double Prime", "Partial Derivative", "Integral", "Summation", "Limit",
        "Matrix",          "Table",      "Equation Set", "Split Definition", "Group",   "Absolute Value",
        "Two-d Plot",      "Three-d Plot", "Link",        "Drawing"};
    for (UINT menuId : {129u, 161u}) {
        SCOPED_TRACE(menuId);
        const MenuItemTemplate* element = FindPopup(menuId, "Element");
        ASSERT_NE(element, nullptr);
        std::vector<const MenuItemTemplate*> commands = Commands(*element);
        ASSERT_GE(commands.size(), 22u);
        for (UINT i = 0; i < 22; ++i) {
            EXPECT_EQ(commands[i]->id, 32850 + i);
            EXPECT_EQ(PlainText(commands[i]->text), kNames[i]);
        }
    }
    const ToolBarTemplate* bar = ResourceStore::instance().toolbar(128);
    ASSERT_NE(bar, nullptr);
    auto first = std::find(bar->buttons.begin(), bar->buttons.end(), 32791u);
    ASSERT_NE(first, bar->buttons.end());
    ASSERT_GE(bar->buttons.end() - first, 22);
    for (UINT i = 0; i < 22; ++i) {
        UINT button = first[i];
        EXPECT_EQ(button, 32791 + i);
        // The button acts as the menu command 59 above it and says so.
        EXPECT_EQ(ToolTip(button), kNames[i]);
        EXPECT_EQ(*ResourceStore::instance().string(button), *ResourceStore::instance().string(button + 59));
    }
}

TEST_F(MenusTest, AcceleratorsGiveTheStandardKeysToCommandsOfTheMenu)
{
    const std::map<QString, UINT> standard = {
        {"Ctrl+N", 57600}, {"Ctrl+O", 57601}, {"Ctrl+S", 57603}, {"Ctrl+P", 57607}, {"Ctrl+Z", 57643},
        {"Ctrl+X", 57635}, {"Ctrl+C", 57634}, {"Ctrl+V", 57637}, {"Ctrl+F", 34013}};
    for (UINT tableId : {128u, 129u}) {
        SCOPED_TRACE(tableId);
        const std::vector<AcceleratorTemplate>* table = ResourceStore::instance().accelerators(tableId);
        ASSERT_NE(table, nullptr);
        std::map<QString, UINT> keys;
        for (const AcceleratorTemplate& a : *table)
            keys[a.key.toString(QKeySequence::PortableText)] = a.command;
        for (const auto& [key, command] : standard)
            EXPECT_EQ(keys[key], command) << key.toStdString();
        // A shortcut for a command the menu does not show would be a hidden command.
        std::vector<UINT> documentIds = menuIds(129);
        for (const AcceleratorTemplate& a : *table)
            EXPECT_EQ(std::count(documentIds.begin(), documentIds.end(), a.command), 1) << a.command;
    }
}
