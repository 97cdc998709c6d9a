#include "app/CMMAQueryDialog.h"

#include <QTimer>

#include "app/CCorvellDialogView.h"
#include "app/dialogs/COKPanel.h"
#include "app/dialogs/CPromptPanel.h"
#include "platform/framework/CWinApp.h"

namespace {

CMMAQueryDialog::RunHook& Hook()
{
    static CMMAQueryDialog::RunHook hook;
    return hook;
}

} // namespace

CMMAQueryDialog::CMMAQueryDialog(std::string prompt, ParagraphList* paragraphs, CWnd* parent)
    : m_prompt(std::move(prompt)), m_paragraphs(paragraphs), m_parent(parent ? parent : AfxGetMainWnd())
{
}

CMMAQueryDialog::RunHook CMMAQueryDialog::SetRunHook(RunHook hook)
{
    RunHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

CCorvellDialogView* CMMAQueryDialog::GetEditor() const
{
    return dynamic_cast<CCorvellDialogView*>(m_splitter.GetPane(1, 0));
}

BOOL CMMAQueryDialog::OnCreateClient(CCreateContext* context)
{
    const int heights[] = {kPromptHeight, kEditorHeight, kButtonsHeight};
    const CRuntimeClass* panes[] = {RUNTIME_CLASS(CPromptPanel), RUNTIME_CLASS(CCorvellDialogView),
                                    RUNTIME_CLASS(COKPanel)};
    if (!m_splitter.CreateStatic(this, 3, 1))
        return FALSE;
    for (int row = 0; row < 3; ++row) {
        if (!m_splitter.CreateView(row, 0, panes[row], CSize(kWidth, heights[row]), context))
            return FALSE;
        m_splitter.SetRowInfo(row, heights[row], heights[row]);
    }
    m_splitter.RecalcLayout();
    m_splitter.SetActivePane(1, 0);
    return TRUE;
}

int CMMAQueryDialog::Run()
{
    if (m_parent)
        m_parent->EnableWindow(FALSE);
    int result = IDCANCEL;
    if (Create(nullptr, "Kernel Query", WS_POPUP | WS_CAPTION | WS_SYSMENU, CRect(0, 0, kWidth, kHeight), m_parent,
               kMenuId)) {
        SetAccelerators(kMenuId);
        if (auto* prompt = dynamic_cast<CPromptPanel*>(m_splitter.GetPane(0, 0)))
            prompt->SetPrompt(m_prompt.c_str());
        CCorvellDialogView* editor = GetEditor();
        if (editor) {
            editor->SetParagraphList(m_paragraphs);
            editor->ScrollToPosition(CPoint(0, 0));
        }
        CenterWindow();
        // Modal to the whole program: while a calculation waits for this
        // answer, only this window takes input.
        if (widget())
            widget()->setWindowModality(Qt::ApplicationModal);
        ShowWindow(SW_SHOW);
        if (Hook())
            QTimer::singleShot(0, [this, hook = Hook()] { hook(*this); });
        result = RunModalLoop();
        if (editor)
            m_selection = editor->GetSelection();
        ShowWindow(SW_HIDE);
    }
    if (m_parent)
        m_parent->EnableWindow(TRUE);
    DestroyWindow();
    return result;
}
