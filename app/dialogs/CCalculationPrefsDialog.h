#pragma once
// "Calculation Preferences" (the Calculation Options command): edits a copy
// of the kernel preferences; the caller takes the copy back after OK.
#include "kernel/KernelPrefs.h"
#include "platform/framework/CDialog.h"

class CCalculationPrefsDialog : public CDialog {
public:
    enum : UINT { kTemplateId = 141 };
    enum : int { kResultsAtEndId = 1002, kWarningsId = 1003, kDefaultVariableId = 1105,
                 kTransformVariableId = 1106, kPrecisionId = 1107, kLevelId = 1075 };

    CCalculationPrefsDialog(const KernelPrefs& prefs, CWnd* parent)
        : CDialog(kTemplateId, parent), m_prefs(prefs) {}
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    KernelPrefs m_prefs;
};
