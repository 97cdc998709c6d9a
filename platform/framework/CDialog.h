#pragma once
// A dialog built from a dialog template, its controls addressed by id. Modal
// (DoModal answers the id of the button that ended it: IDOK, IDCANCEL, ...)
// or modeless (Create; such a dialog usually deletes itself in
// PostNcDestroy). OK saves and validates the controls first: a bad value
// keeps the dialog open.
#include <functional>

#include "platform/framework/CWnd.h"

class QDialog;

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual int DoModal();
    BOOL Create(UINT templateId, CWnd* parent = nullptr);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);
    // Clicks a button of the dialog as the user would (tests, keyboard).
    void PressButton(int id);
    bool IsEnded() const { return m_ended; }
    int GetResult() const { return m_nModalResult; }
    QDialog* dialog() const;

    void OnControlNotify(UINT code, UINT id) override;

    // Tests replace the modal run: the hook gets the dialog after
    // OnInitDialog and presses its buttons; DoModal then answers the
    // result of EndDialog (IDCANCEL when the hook did not end it).
    using ModalHook = std::function<void(CDialog&)>;
    static ModalHook SetModalHook(ModalHook hook);

    UINT m_nIDTemplate;

protected:
    void OnClose() override { OnCancel(); }
    BOOL BuildWidget(CWnd* parent, bool modal);

    CWnd* m_pParentWnd;
    int m_nModalResult = IDCANCEL;
    bool m_ended = false;
    bool m_modal = false;
};
