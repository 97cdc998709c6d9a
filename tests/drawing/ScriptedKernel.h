#pragma once
// A kernel link for the drawing tests whose kernel is a script: a loopback
// link holding the answers of the next requests, in order, which records
// what the requests write. The link is the program's link for the
// fixture's lifetime; questions for values are answered from a list.
#include "kernel/KernelLink.h"
#include "support/kernel/SilentQuestions.h"

#include <deque>
#include <string>
#include <vector>

class ScriptedQuestions : public SilentQuestions {
public:
    ExprNode* AskExpression(const std::string& prompt, const ExprNode* initial, bool selectPart) override;

    // Typed answers (full form) of the next expression questions; none left cancels.
    std::deque<std::string> typed;
    std::vector<std::string> prompts;
    std::vector<std::string> proposed;   // the full form each question proposed
};

class ScriptedKernel {
public:
    // Full forms of the answers, in the order the requests will read them.
    explicit ScriptedKernel(const std::vector<std::string>& answers);
    ~ScriptedKernel();
    ScriptedKernel(const ScriptedKernel&) = delete;
    ScriptedKernel& operator=(const ScriptedKernel&) = delete;

    // Queues more answers.
    void Answer(const std::vector<std::string>& answers);
    // What the requests wrote since the last call, as full forms (answers
    // nobody read are skipped).
    std::vector<std::string> Written();
    // The link closes, as when the kernel program has ended.
    void Close();

    KernelLink link;
    ScriptedQuestions questions;

private:
    MLENV m_env = nullptr;
    MLINK m_loop = nullptr;
};
