#pragma once
// Running a dialog with the user's part scripted, and reading its lists.
#include "platform/framework/CDialog.h"
#include "support/ScopedInstall.h"

#include <QComboBox>
#include <QStringList>

#include <functional>

// Runs the dialog modally with the script in the user's place; the dialog's
// result.
inline int RunScripted(CDialog& dialog, const std::function<void(CDialog&)>& script)
{
    ScopedInstall user(CDialog::SetModalHook, script);
    return dialog.DoModal();
}

inline QComboBox* Combo(CDialog& dialog, int id)
{
    return qobject_cast<QComboBox*>(dialog.GetDlgItem(id)->widget());
}

// The entries of a drop-down list, in order.
inline QStringList Items(QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}
