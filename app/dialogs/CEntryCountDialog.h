#pragma once
// The base of the dialogs that ask for the number of entries of a new
// equation set or split definition, from 1 to 40 (edit 1000). The caller sets
// the count, runs the dialog and reads it back after OK.
#include "platform/framework/CDialog.h"

class CEntryCountDialog : public CDialog {
public:
    enum : int { kMinCount = 1, kMaxCount = 40 };

    CEntryCountDialog(UINT templateId, int entries, CWnd* parent) : CDialog(templateId, parent), m_nEntries(entries) {}
    void DoDataExchange(CDataExchange* dx) override;

    int m_nEntries;
};
