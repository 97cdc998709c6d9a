#include "ScriptedKernel.h"

#include "support/kernel/NodeWireText.h"

#include "foundation/ExprNode.h"
#include "mathlink/LinkExpr.h"

ExprNode* ScriptedQuestions::AskExpression(const std::string& prompt, const ExprNode* initial, bool)
{
    prompts.push_back(prompt);
    proposed.push_back(initial ? FullFormOf(initial) : std::string());
    if (typed.empty())
        return nullptr;
    std::string text = typed.front();
    typed.pop_front();
    return NodeFrom(text);
}

ScriptedKernel::ScriptedKernel(const std::vector<std::string>& answers)
{
    m_env = MLInitialize();
    int error = 0;
    m_loop = MLLoopbackOpen(m_env, &error);
    Answer(answers);
    link.SetQuestions(&questions);
    link.Attach(m_loop);
    KernelLink::Set(&link);
}

ScriptedKernel::~ScriptedKernel()
{
    KernelLink::Set(nullptr);
    Close();
    MLDeinitialize(m_env);
}

void ScriptedKernel::Answer(const std::vector<std::string>& answers)
{
    for (const std::string& answer : answers) {
        wire::putLinkExpr(m_loop, wire::parseFullForm("ReturnPacket[" + answer + "]"));
        MLEndPacket(m_loop);
    }
}

std::vector<std::string> ScriptedKernel::Written()
{
    std::vector<std::string> written;
    if (!m_loop)
        return written;
    for (;;) {
        const int packet = MLNextPacket(m_loop);
        if (packet == MLERRORPKT) {
            // Nothing more is waiting.
            MLClearError(m_loop);
            break;
        }
        wire::Expr e;
        if (packet != MLRETURNPKT && wire::getLinkExpr(m_loop, e))
            written.push_back(wire::toFullForm(e));
        MLNewPacket(m_loop);
    }
    return written;
}

void ScriptedKernel::Close()
{
    if (!m_loop)
        return;
    link.Attach(nullptr);
    MLClose(m_loop);
    m_loop = nullptr;
}
