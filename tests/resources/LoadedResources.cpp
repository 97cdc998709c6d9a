#include "LoadedResources.h"

#include "resources/ProgramResources.h"

void RequireProgramResources()
{
    static bool loaded = false;
    static QString error;
    if (!loaded) {
        ResourceStore::instance().clear();
        loaded = RegisterProgramResources(&error);
    }
    ASSERT_TRUE(loaded) << error.toStdString();
}

const MenuItemTemplate* FindPopup(UINT menuId, const QString& title)
{
    const MenuTemplate* menu = ResourceStore::instance().menu(menuId);
    if (!menu)
        return nullptr;
    for (const MenuItemTemplate& item : menu->items)
        if (item.isPopup() && PlainText(item.text) == title)
            return &item;
    return nullptr;
}

std::vector<const MenuItemTemplate*> Commands(const MenuItemTemplate& popup)
{
    std::vector<const MenuItemTemplate*> commands;
    for (const MenuItemTemplate& item : popup.items)
        if (!item.separator && !item.isPopup())
            commands.push_back(&item);
    return commands;
}

QString PlainText(const QString& text)
{
    return text.section('\t', 0, 0).remove('&');
}

QString ToolTip(UINT id)
{
    const QString* text = ResourceStore::instance().string(id);
    return text && text->contains('\n') ? text->section('\n', 1) : QString();
}
