#include "app/KernelQuestionDialogs.h"

#include "app/CCorvellApp.h"
#include "app/CMainFrame.h"
#include "app/CalculationHold.h"
#include "app/KernelExpressionQuestion.h"

#include "app/dialogs/CKernelConnectionDialog.h"
#include "app/dialogs/CKernelQueryDialog.h"
#include "app/dialogs/CKernelSelectDialog.h"
#include "app/dialogs/CKernelYesNoDialog.h"
#include "app/dialogs/CKernelStartupDialog.h"
#include "kernel/KernelLink.h"
#include "platform/UserInterface.h"
#include "platform/framework/WorkerThread.h"

#include <QCoreApplication>

namespace {

// Runs work on the user-interface thread and waits for it.
void OnUi(const std::function<void()>& work)
{
    if (IsUiThread())
        work();
    else
        RunOnUiThread(work, true);
}

} // namespace

ExprNode* KernelQuestionDialogs::AskExpression(const std::string& prompt, const ExprNode* initial, bool selectPart)
{
    ExprNode* answer = nullptr;
    OnUi([&] { answer = AskExpressionInQueryFrame(prompt, initial, selectPart); });
    return answer;
}

int KernelQuestionDialogs::ChooseOne(const std::string& prompt, const std::vector<std::string>& choices)
{
    int chosen = -1;
    OnUi([&] {
        CKernelQueryDialog dialog(prompt, choices, nullptr);
        if (dialog.DoModal() == IDOK)
            chosen = dialog.m_chosen;
    });
    return chosen;
}

std::optional<std::vector<int>> KernelQuestionDialogs::ChooseSubset(const std::string& prompt,
                                                                     const std::string& leftLabel,
                                                                     const std::string& rightLabel,
                                                                     const std::vector<std::string>& unselected,
                                                                     const std::vector<std::string>& selected)
{
    std::vector<std::string> texts = unselected;
    texts.insert(texts.end(), selected.begin(), selected.end());
    std::vector<int> left, right;
    for (std::size_t i = 0; i < texts.size(); ++i)
        (i < unselected.size() ? left : right).push_back(int(i));
    std::optional<std::vector<int>> chosen;
    OnUi([&] {
        CKernelSelectDialog dialog(texts, {prompt, leftLabel, rightLabel}, left, right, nullptr);
        if (dialog.DoModal() == IDOK)
            chosen = dialog.m_right;
    });
    return chosen;
}

void KernelQuestionDialogs::ShowMessage(const std::string& text)
{
    OnUi([&] { UserInterface::Current().MessageBox(text, "Quorvant", MB_OK); });
}

bool KernelQuestionDialogs::AskYesNo(const std::string& question)
{
    bool yes = false;
    OnUi([&] {
        CKernelYesNoDialog dialog(question, nullptr);
        yes = dialog.DoModal() == IDOK;
    });
    return yes;
}

void KernelQuestionDialogs::Yield()
{
    // Keeps the windows painted and lets Escape reach the view.
    QCoreApplication::processEvents();
}

void KernelQuestionDialogs::BeginWait()
{
    UserInterface::Current().BeginWaitCursor();
    UserInterface::Current().SetStatusText(CalculationHold::kRefusal);
}

void KernelQuestionDialogs::EndWait()
{
    UserInterface::Current().EndWaitCursor();
    UserInterface::Current().SetStatusText("");
}

void KernelQuestionDialogs::RequestStatus(const std::string& text)
{
    UserInterface::Current().SetStatusText(text);
}

void KernelQuestionDialogs::ConstantsPalette(bool open)
{
    // Not once the program's exit has begun: the frame is going away.
    OnUi([open] {
        auto* frame = GetCorvellApp() ? dynamic_cast<CMainFrame*>(AfxGetMainWnd()) : nullptr;
        if (!frame)
            return;
        if (open)
            frame->CreateConstantsPalette();
        else
            frame->DestroyConstantsPalette();
    });
}

std::string KernelQuestionDialogs::LocateKernel()
{
    std::string folder;
    OnUi([&] { folder = ChooseKernelFolder("Locate the kernel", nullptr); });
    return folder;
}

void KernelQuestionDialogs::StartupStatus(const std::string& text)
{
    RunOnUiThread([text] {
        if (CKernelStartupDialog* dialog = CKernelStartupDialog::Current())
            dialog->SetStatus(text.c_str());
    }, false);
}

void KernelQuestionDialogs::StartupFinished(bool connected)
{
    RunOnUiThread([connected] {
        if (KernelLink* link = KernelLink::Get(); link && connected)
            link->ApplyNodeSettings();
        if (!connected)
            if (auto* frame = GetCorvellApp() ? dynamic_cast<CMainFrame*>(AfxGetMainWnd()) : nullptr)
                frame->DestroyConstantsPalette();
        CKernelStartupDialog::CloseCurrent();
        UserInterface::Current().SetStatusText(connected ? "The kernel is ready." : "");
    }, false);
}
