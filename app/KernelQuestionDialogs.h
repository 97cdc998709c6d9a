#pragma once
// The editor's answers to what the kernel link asks of the user: the
// kernel's questions in dialogs, its messages in message boxes, the locate
// prompt and the "Kernel Startup" notice. Whatever the start-up worker asks
// for is handed to the user-interface thread.
#include "kernel/KernelQuestions.h"

class KernelQuestionDialogs : public KernelQuestions {
public:
    ExprNode* AskExpression(const std::string& prompt, const ExprNode* initial, bool selectPart) override;
    int ChooseOne(const std::string& prompt, const std::vector<std::string>& choices) override;
    std::optional<std::vector<int>> ChooseSubset(const std::string& prompt, const std::string& leftLabel,
                                                 const std::string& rightLabel,
                                                 const std::vector<std::string>& unselected,
                                                 const std::vector<std::string>& selected) override;
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& question) override;
    void Yield() override;
    void BeginWait() override;
    void EndWait() override;
    void RequestStatus(const std::string& text) override;
    void ConstantsPalette(bool open) override;
    std::string LocateKernel() override;
    void StartupStatus(const std::string& text) override;
    void StartupFinished(bool connected) override;
};
