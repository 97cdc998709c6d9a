#pragma once
// Asks for the rows and columns of a new table (each count 1 to 40).
#include "app/dialogs/CRowsColumnsDialog.h"

class CCreateTableDialog : public CRowsColumnsDialog {
public:
    enum : UINT { IDD = 133 };
    CCreateTableDialog(int rows, int columns, CWnd* parent = nullptr)
        : CRowsColumnsDialog(IDD, rows, columns, parent)
    {
    }
};
