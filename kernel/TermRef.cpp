#include "kernel/TermRef.h"

#include <algorithm>

#include "foundation/TextComp.h"
#include "kernel/KernelLink.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/MathParser.h"
#include "kernel/NodeSupport.h"
#include "kernel/OperatorNodes.h"

namespace {

// More placeholders than this in one answer are left as they are.
constexpr int kMaxNewConstants = 64;

// The largest integer of the list plus one (1 for none), for a kernel that
// cannot be asked.
int NextAfterMaxHere(const ListNode& indices)
{
    int largest = 0;
    for (ExprNode* index = indices.First(); index; index = index->next)
        if (index->GetTag() == TypeTag("intN"))
            largest = std::max(largest, index->GetIntegerValue());
    return largest + 1;
}

} // namespace

void TermRef::NextAfterMaxTerm(ExprNode* shown)
{
    if (!m_node)
        return;
    for (int i = 0; i < kMaxNewConstants; ++i) {
        auto* placeholder = dynamic_cast<SubscriptNode*>(m_node->FindReplaceSubscript());
        if (!placeholder)
            return;
        ListNode indices;
        m_node->CollectConstantIndices(indices);
        if (shown)
            shown->CollectConstantIndices(indices);
        KernelLink* link = KernelLink::Get();
        std::unique_ptr<ExprNode> next(link && link->IsReady() ? link->NextAfterMax(&indices) : nullptr);
        if (!next || next->GetTag() != TypeTag("intN"))
            next = std::make_unique<IntegerNode>(NextAfterMaxHere(indices));
        placeholder->SetSubscript(next.release());
    }
}

void TermRef::RebuildFromParts()
{
    if (!m_node)
        return;
    m_node->Flatten();
    ExprNode* node = m_node.release();
    nodes::NormalizeInPlace(node);
    m_node.reset(node);
}

std::unique_ptr<CompList> TermRef::CollectTerms() const
{
    auto row = std::make_unique<CompList>();
    if (m_node)
        m_node->BuildComponents(*row, 1);
    return row;
}

TermRef TermRef::Build(TextComp& comp)
{
    gSyntaxError = false;
    TermRef term(comp.BuildNode());
    if (gSyntaxError)
        term.Free();
    gSyntaxError = false;
    return term;
}
