#pragma once
// Asks for the number of equations of a new equation set (1 to 40).
#include "app/dialogs/CEntryCountDialog.h"

class CCreateEquationSetDialog : public CEntryCountDialog {
public:
    enum : UINT { IDD = 134 };
    CCreateEquationSetDialog(int entries, CWnd* parent = nullptr) : CEntryCountDialog(IDD, entries, parent) {}
};
