#include "kernel/link/LinkTestSupport.h"

#include "foundation/ExprNode.h"
#include "kernel/KernelReader.h"
#include "mathlink/LinkExpr.h"

#include <chrono>
#include <thread>

ExprNode* ScriptedQuestions::AskExpression(const std::string& prompt, const ExprNode*, bool)
{
    prompts.push_back(prompt);
    if (expression.empty())
        return nullptr;
    ExprNode* node = NodeFrom(expression);
    if (markWhole)
        node->SetMoverFlag(true);
    return node;
}

int ScriptedQuestions::ChooseOne(const std::string& prompt, const std::vector<std::string>& choices)
{
    prompts.push_back(prompt);
    prompts.insert(prompts.end(), choices.begin(), choices.end());
    return choice;
}

std::optional<std::vector<int>> ScriptedQuestions::ChooseSubset(const std::string& prompt,
                                                                const std::string& leftLabel,
                                                                const std::string& rightLabel,
                                                                const std::vector<std::string>& unselected,
                                                                const std::vector<std::string>& selected)
{
    prompts.insert(prompts.end(), {prompt, leftLabel, rightLabel});
    if (subset && subset->empty()) {
        // OK without moving anything: the initially selected items.
        std::vector<int> kept;
        for (std::size_t i = 0; i < selected.size(); ++i)
            kept.push_back(int(unselected.size() + i));
        return kept;
    }
    return subset;
}

bool ScriptedQuestions::AskYesNo(const std::string& question)
{
    prompts.push_back(question);
    return yes;
}

void ScriptedQuestions::Yield()
{
    if (m_onYield)
        m_onYield();
}

ScriptedQuestions::YieldHook ScriptedQuestions::OnYield(std::function<void()> hook)
{
    m_onYield = std::move(hook);
    return YieldHook(*this);
}

std::string ScriptedQuestions::LocateKernel()
{
    ++locateCalls;
    return locatedFolder;
}
