#include "NodeTestSupport.h"

#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/RelationNodes.h"
#include "mathlink/LinkExpr.h"

LoopbackLink::LoopbackLink() : m_env(MLInitialize())
{
    int error = 0;
    m_link = MLLoopbackOpen(m_env, &error);
}

LoopbackLink::~LoopbackLink()
{
    MLClose(m_link);
    MLDeinitialize(m_env);
}

std::string LoopbackLink::TakeWritten()
{
    if (!MLEndPacket(m_link))
        return std::string("<put failed: ") + MLErrorMessage(m_link) + ">";
    MLNextPacket(m_link);
    wire::Expr expr;
    if (!wire::getLinkExpr(m_link, expr))
        return "<unreadable>";
    return wire::toFullForm(expr);
}

std::string LoopbackLink::Package(const ExprNode& node, int mode)
{
    node.PutPackageForm(m_link, mode);
    return TakeWritten();
}

std::string LoopbackLink::Plain(const ExprNode& node)
{
    node.PutPlainForm(m_link);
    return TakeWritten();
}

ExprNode* Sym(const char* name)
{
    return new SymbolNode(std::string(name));
}

ExprNode* Int(int value)
{
    return new IntegerNode(value);
}

ExprNode* Seq(ExprNode* a, ExprNode* b)
{
    auto* sequence = new SequenceNode(a);
    sequence->AppendChild(b);
    return sequence;
}

ExprNode* List2(ExprNode* a, ExprNode* b)
{
    auto* list = new ListNode(a);
    list->AppendChild(b);
    return list;
}
