#include "support/kernel/NodeWireText.h"

#include "foundation/ExprNode.h"
#include "kernel/KernelReader.h"
#include "mathlink/LinkExpr.h"
#include "mathlink/MathLink.h"

ExprNode* NodeFrom(const std::string& fullForm)
{
    MLENV env = MLInitialize();
    int error = 0;
    MLINK link = MLLoopbackOpen(env, &error);
    wire::putLinkExpr(link, wire::parseFullForm(fullForm));
    MLEndPacket(link);
    MLNextPacket(link);
    ExprNode* node = ReadKernelExpr(link);
    MLClose(link);
    MLDeinitialize(env);
    return node;
}

namespace {

// The full form of what `put` writes on a loopback link.
template <class Put>
std::string WrittenForm(const ExprNode* node, Put put)
{
    if (!node)
        return "<null>";
    MLENV env = MLInitialize();
    int error = 0;
    MLINK link = MLLoopbackOpen(env, &error);
    put(link);
    MLEndPacket(link);
    MLNextPacket(link);
    wire::Expr e;
    std::string text = wire::getLinkExpr(link, e) ? wire::toFullForm(e) : "<unreadable>";
    MLClose(link);
    MLDeinitialize(env);
    return text;
}

} // namespace

std::string FullFormOf(const ExprNode* node, int mode)
{
    return WrittenForm(node, [node, mode](MLINK link) { node->PutPackageForm(link, mode); });
}

std::string PlainFormOf(const ExprNode* node)
{
    return WrittenForm(node, [node](MLINK link) { node->PutPlainForm(link); });
}

std::string FullFormOf(std::unique_ptr<ExprNode> node)
{
    return FullFormOf(node.get());
}
