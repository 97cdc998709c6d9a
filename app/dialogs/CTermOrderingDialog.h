#pragma once
// "Term Ordering": edits a copy of the ordering (entries, "Reorder terms in
// results", "Move C terms to back"); Changed() says whether anything changed.
#include "kernel/TermOrdering.h"
#include "platform/framework/CDialog.h"

class CTermOrderingDialog : public CDialog {
public:
    enum : UINT { kTemplateId = 158 };
    enum : int { kListId = 1077, kReorderId = 1078, kConstantsId = 1099, kSortVariableId = 1079,
                 kSortPriorityId = 1080, kDefaultsId = 1081, kMakeDefaultId = 1082, kNewId = 1083,
                 kEditId = 1084, kDeleteId = 1085 };

    CTermOrderingDialog(const TermOrdering& ordering, CWnd* parent)
        : CDialog(kTemplateId, parent), m_ordering(ordering) {}
    BOOL OnInitDialog() override;
    void OnControlNotify(UINT code, UINT id) override;
    void DoDataExchange(CDataExchange* dx) override;
    bool Changed() const { return m_changed; }

    TermOrdering m_ordering;

private:
    void Refill(int selected);
    void NewEntry();
    void EditEntry();
    void UseDefaults();

    bool m_changed = false;
};
