#include "platform/framework/CDialog.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

#include "platform/ModalFocusKeeper.h"
#include "platform/framework/DialogTemplateBuilder.h"
#include "platform/framework/ResourceStore.h"
#include "platform/framework/WndBridge.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {

CDialog::ModalHook& modalHook()
{
    static CDialog::ModalHook hook;
    return hook;
}

// The Qt side of a dialog: Esc cancels, Enter presses the default button (OK
// when none is marked), Tab moves between the controls.
class DialogWidget : public WndWidget<QDialog> {
public:
    DialogWidget(CDialog* owner, QWidget* parent) : WndWidget<QDialog>(owner, parent), m_dialog(owner)
    {
        setNativeBehaviour(true);
    }
    void reject() override
    {
        if (owner())
            m_dialog->OnCancel();
        else
            QDialog::reject();
    }

protected:
    bool event(QEvent* e) override
    {
        DispatchScope scope;
        return QDialog::event(e);
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (!owner())
            return QDialog::keyPressEvent(e);
        if (e->modifiers() == Qt::NoModifier || e->modifiers() == Qt::KeypadModifier) {
            if (e->key() == Qt::Key_Escape) {
                m_dialog->OnControlNotify(BN_CLICKED, IDCANCEL);
                return;
            }
            if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
                int id = IDOK;
                for (QPushButton* b : findChildren<QPushButton*>())
                    if (b->isDefault())
                        if (CWnd* w = CWnd::FromWidget(b))
                            id = w->GetDlgCtrlID();
                m_dialog->PressButton(id);
                return;
            }
        }
        QDialog::keyPressEvent(e);
    }

private:
    CDialog* m_dialog;
};

}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

CDialog::ModalHook CDialog::SetModalHook(ModalHook hook)
{
    ModalHook old = modalHook();
    modalHook() = std::move(hook);
    return old;
}

QDialog* CDialog::dialog() const
{
    return qobject_cast<QDialog*>(m_widget);
}

BOOL CDialog::BuildWidget(CWnd* parent, bool modal)
{
    const DialogTemplate* t = ResourceStore::instance().dialog(m_nIDTemplate);
    if (!t)
        return FALSE;
    QWidget* parentWidget = parent ? parent->widget() : nullptr;
    auto* w = new DialogWidget(this, parentWidget);
    SetWidget(w, true);
    m_modal = modal;
    m_ended = false;
    QFont font = DialogFont(*t);
    w->setWindowTitle(t->caption);
    w->setFixedSize(DialogUnitsToPixels(font, 0, 0, t->cx, t->cy).size());
    BuildDialogControls(this, *t, w);
    return TRUE;
}

int CDialog::DoModal()
{
    if (!BuildWidget(m_pParentWnd, true))
        return -1;
    m_nModalResult = IDCANCEL;
    if (!OnInitDialog() || m_ended) {
        DestroyWindow();
        return m_nModalResult;
    }
    if (modalHook()) {
        modalHook()(*this);
    } else {
        ModalFocusKeeper focus;
        dialog()->setWindowModality(Qt::ApplicationModal);
        dialog()->exec();
    }
    int result = m_nModalResult;
    DestroyWindow();
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    if (!BuildWidget(parent, false))
        return FALSE;
    QPointer<QWidget> alive(m_widget.data());
    OnInitDialog();
    if (alive && m_widget)
        m_widget->show();
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    m_ended = true;
    if (QDialog* d = dialog()) {
        if (m_modal && d->isVisible())
            d->done(result);
        else
            d->hide();
    }
}

void CDialog::PressButton(int id)
{
    CWnd* item = GetDlgItem(id);
    if (item && item->widget() && !item->widget()->isEnabled())
        return;
    OnControlNotify(BN_CLICKED, UINT(id));
}

void CDialog::OnControlNotify(UINT code, UINT id)
{
    if (HandleOwnNotify(code, id))
        return;
    if (code == BN_CLICKED && HandleOwnCommand(id))
        return;
    if (code == BN_CLICKED && id == IDOK)
        OnOK();
    else if (code == BN_CLICKED && id == IDCANCEL)
        OnCancel();
}
