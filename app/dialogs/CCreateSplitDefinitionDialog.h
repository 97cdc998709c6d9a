#pragma once
// Asks for the number of cases of a new split definition (1 to 40).
#include "app/dialogs/CEntryCountDialog.h"

class CCreateSplitDefinitionDialog : public CEntryCountDialog {
public:
    enum : UINT { IDD = 135 };
    CCreateSplitDefinitionDialog(int entries, CWnd* parent = nullptr) : CEntryCountDialog(IDD, entries, parent) {}
};
