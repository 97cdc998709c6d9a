#pragma once
// Kernel questions that nobody is there to answer: every question is
// cancelled, every yes-or-no answered No, no kernel folder is chosen and the
// start-up reports are dropped. The link's messages are kept in order.
// Tests derive from it to script the one question they care about.
#include "kernel/KernelQuestions.h"

#include <optional>
#include <string>
#include <vector>

class SilentQuestions : public KernelQuestions {
public:
    ExprNode* AskExpression(const std::string&, const ExprNode*, bool) override { return nullptr; }
    int ChooseOne(const std::string&, const std::vector<std::string>&) override { return -1; }
    std::optional<std::vector<int>> ChooseSubset(const std::string&, const std::string&, const std::string&,
                                                 const std::vector<std::string>&,
                                                 const std::vector<std::string>&) override
    {
        return std::nullopt;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string&) override { return false; }
    std::string LocateKernel() override { return {}; }
    void StartupStatus(const std::string&) override {}
    void StartupFinished(bool) override {}

    std::vector<std::string> messages;
};
