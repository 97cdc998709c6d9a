#pragma once
// The base of the dialogs that ask for the rows and columns of a new matrix
// or table, each from 1 to 40 (edits 1000 and 1001). The caller sets the
// counts, runs the dialog and reads them back after OK.
#include "platform/framework/CDialog.h"

class CRowsColumnsDialog : public CDialog {
public:
    enum : int { kMinCount = 1, kMaxCount = 40 };

    CRowsColumnsDialog(UINT templateId, int rows, int columns, CWnd* parent)
        : CDialog(templateId, parent), m_nRows(rows), m_nColumns(columns)
    {
    }
    void DoDataExchange(CDataExchange* dx) override;

    int m_nRows;
    int m_nColumns;
};
