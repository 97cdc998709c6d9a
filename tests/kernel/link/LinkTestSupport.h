#pragma once
// Helpers of the kernel link's tests: scripted answers to the kernel's
// questions, nodes made from full-form text, the full form of a node, and a
// link started against the real kernel program.
#include "kernel/KernelLink.h"
#include "kernel/KernelQuestions.h"
#include "support/kernel/KernelProgram.h"
#include "support/kernel/NodeWireText.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>

class ExprNode;

class ScriptedQuestions : public KernelQuestions {
public:
    ExprNode* AskExpression(const std::string& prompt, const ExprNode* initial, bool selectPart) override;
    int ChooseOne(const std::string& prompt, const std::vector<std::string>& choices) override;
    std::optional<std::vector<int>> ChooseSubset(const std::string& prompt, const std::string& leftLabel,
                                                 const std::string& rightLabel,
                                                 const std::vector<std::string>& unselected,
                                                 const std::vector<std::string>& selected) override;
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& question) override;
    void Yield() override;
    std::string LocateKernel() override;
    void RequestStatus(const std::string& text) override { requestStatuses.push_back(text); }
    void StartupStatus(const std::string& text) override { statuses.push_back(text); }
    void StartupFinished(bool connected) override { finished.push_back(connected); }

    // Scripted answers (full form for expressions; "" cancels).
    std::string expression;
    bool markWhole = false;
    int choice = -1;
    std::optional<std::vector<int>> subset;
    bool yes = false;
    std::string locatedFolder;

    // Runs hook on every Yield call (a test's Escape, say) for as long as the
    // answer lives: declared after the locals the hook captures, it goes
    // before them, so that a wait at the test's end (quitting the kernel)
    // never calls into a finished test body.
    class YieldHook {
    public:
        explicit YieldHook(ScriptedQuestions& questions) : m_questions(questions) {}
        ~YieldHook() { m_questions.m_onYield = nullptr; }
        YieldHook(const YieldHook&) = delete;
        YieldHook& operator=(const YieldHook&) = delete;

    private:
        ScriptedQuestions& m_questions;
    };
    [[nodiscard]] YieldHook OnYield(std::function<void()> hook);

    std::vector<std::string> prompts;   // every prompt, question and label shown
    std::vector<std::string> messages;
    std::vector<std::string> statuses;
    std::vector<std::string> requestStatuses;
    std::vector<bool> finished;
    int locateCalls = 0;

private:
    std::function<void()> m_onYield;
};
