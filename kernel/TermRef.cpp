#include "kernel/TermRef.h"

#include <algorithm>

#include "foundation/DocSelection.h"
#include "foundation/SourceRange.h"
#include "foundation/TextComp.h"
#include "kernel/KernelLink.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/MathParser.h"
#include "kernel/NodePath.h"
#include "kernel/NodeSupport.h"
#include "kernel/OperatorNodes.h"
#include "kernel/RelationNodes.h"

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

// The held node as a relation, whose children alternate between sides and
// relation symbols; null for any other node.
const CompositeNode* AsRelation(const ExprNode* node)
{
    return node && node->GetTag() == TypeTag("eqnN") ? dynamic_cast<const CompositeNode*>(node) : nullptr;
}

bool IsNullSymbol(const ExprNode* node)
{
    const SymbolNode* symbol = AsSymbol(node);
    return symbol && !symbol->IsBuiltin() && symbol->FreeText() == "Null";
}

} // namespace

void TermRef::NextAfterMaxTerm(ExprNode* source, ExprNode* answer)
{
    std::unique_ptr<ExprNode> owned(answer);
    ExprNode* parent = m_node && source && source != m_node.get() ? m_node->FindParentOf(source) : nullptr;
    if (!parent || !answer) {
        m_node = std::move(owned);
    } else if (auto* alternatives = dynamic_cast<CompositeNode*>(answer);
               alternatives && answer->GetAlternativeCount() > 1) {
        // One copy of the whole per alternative, each made with that
        // alternative in the part's place.
        ExprNode* inPlace = source;
        std::vector<ExprNode*> copies;
        for (ExprNode* alternative = alternatives->First(); alternative; alternative = alternative->next) {
            ExprNode* clone = alternative->Clone();
            parent->ReplaceChild(inPlace, clone);
            delete inPlace;
            inPlace = clone;
            copies.push_back(m_node->Clone());
        }
        auto* either = new OrNode;
        either->ChainAll(copies);
        m_node.reset(either);
    } else {
        parent->ReplaceChild(source, owned.release());
        delete source;
    }
    if (!IsNullSymbol(m_node.get()))
        NextAfterMaxTerm(nullptr);
}

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

std::unique_ptr<CompList> TermRef::CollectTermsGuarded(int k) const
{
    const CompositeNode* relation = AsRelation(m_node.get());
    ExprNode* side = relation && k > 0 ? relation->ChildAt(2 * k - 1) : nullptr;
    if (!side)
        return CollectTerms();
    auto row = std::make_unique<CompList>();
    side->BuildComponents(*row, 1);
    return row;
}

int TermRef::GetTermIndex(const ExprNode* term) const
{
    const CompositeNode* relation = AsRelation(m_node.get());
    if (!relation || !term || term == m_node.get() || !term->HasRange())
        return 0;
    // The path from the relation down to the term's first place passes
    // through the side that holds the term.
    NodePath path(m_node.get(), term->GetSourceRange().ToSelection().First());
    if (!path.Contains(term) || path.Nodes().size() < 2)
        return 0;
    const ExprNode* top = path.Nodes()[1];
    int place = 1;
    for (const ExprNode* child = relation->First(); child && child != top; child = child->next)
        ++place;
    return place % 2 == 1 ? (place + 1) / 2 : 0;
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
