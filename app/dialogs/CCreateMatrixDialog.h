#pragma once
// Asks for the rows and columns of a new matrix (each count 1 to 40).
#include "app/dialogs/CRowsColumnsDialog.h"

class CCreateMatrixDialog : public CRowsColumnsDialog {
public:
    enum : UINT { IDD = 132 };
    CCreateMatrixDialog(int rows, int columns, CWnd* parent = nullptr)
        : CRowsColumnsDialog(IDD, rows, columns, parent)
    {
    }
};
