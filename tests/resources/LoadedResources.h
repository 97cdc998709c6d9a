#pragma once
// The program's resources, registered once for all tests of this folder.
#include <QString>
#include <gtest/gtest.h>
#include <vector>

#include "platform/framework/ResourceStore.h"

// Registers the program's resources (once) and fails the test if they are malformed.
void RequireProgramResources();

// The popup of menu menuId whose text, without '&', is title; null when none.
const MenuItemTemplate* FindPopup(UINT menuId, const QString& title);
// The command items of a popup in order, separators and sub-popups left out.
std::vector<const MenuItemTemplate*> Commands(const MenuItemTemplate& popup);
// Text without its mnemonic marks and without the key shown after a tab.
QString PlainText(const QString& text);
// The part of a string-table entry after its line break (the tool tip).
QString ToolTip(UINT id);
