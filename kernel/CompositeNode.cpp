#include "kernel/CompositeNode.h"

#include "kernel/NodeSupport.h"

#include "foundation/DocPosition.h"

#include <vector>

CompositeNode::CompositeNode(const SourceRange& range, ExprNode* first) : ExprNode(range)
{
    Chain(first);
}

CompositeNode::CompositeNode(ExprNode* first)
{
    if (first && first->HasRange())
        CopyRangeOf(*first);
    Chain(first);
}

CompositeNode::~CompositeNode()
{
    delete m_first;   // the chain goes with its first node
}

ExprNode* CompositeNode::Clone() const
{
    CompositeNode* copy = NewWithFirstClone();
    if (!copy)
        return nullptr;
    for (ExprNode* child = m_first ? m_first->next : nullptr; child; child = child->next)
        copy->Chain(child->Clone());
    copy->CopyRangeOf(*this);
    return copy;
}

void CompositeNode::Chain(ExprNode* node)
{
    if (!node)
        return;
    node->next = nullptr;
    if (!m_first)
        m_first = node;
    else
        m_first->GetLastSibling()->next = node;
    ++m_count;
}

void CompositeNode::AppendChild(ExprNode* node)
{
    if (!node)
        return;
    if (!m_first) {
        Chain(node);
        if (node->HasRange())
            CopyRangeOf(*node);
        else
            Range() = node->GetSourceRange();
        return;
    }
    Chain(node);
    if (HasRange() && node->HasRange())
        Range().Extend(node->GetSourceRange());
}

void CompositeNode::ChainAll(const std::vector<ExprNode*>& nodes)
{
    ExprNode* last = GetLastChild();
    for (ExprNode* node : nodes) {
        if (!node)
            continue;
        node->next = nullptr;
        if (last)
            last->next = node;
        else
            m_first = node;
        last = node;
        ++m_count;
    }
}

void CompositeNode::Prepend(ExprNode* node)
{
    node->next = m_first;
    m_first = node;
    ++m_count;
}

void CompositeNode::PutChildren(MLINK link, int mode) const
{
    for (ExprNode* child = m_first; child; child = child->next)
        child->PutPackageForm(link, mode);
}

void CompositeNode::PutPlainChildren(MLINK link) const
{
    for (ExprNode* child = m_first; child; child = child->next)
        child->PutPlainForm(link);
}

// A run of children is one expression on the link, under the standard head
// of a sequence: written bare, its elements would stand in the places of the
// arguments that follow it. The nodes that take a sequence's elements as
// their own arguments write them one by one (nodes::PutItems).
void CompositeNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, "Sequence", m_count);
    PutChildren(link, mode);
}

void CompositeNode::PutPlainForm(MLINK link) const
{
    MLPutFunction(link, "Sequence", m_count);
    PutPlainChildren(link);
}

void CompositeNode::WriteMathML(MathMLOutput& writer)
{
    for (ExprNode* child = m_first; child; child = child->next)
        child->WriteMathML(writer);
}

bool CompositeNode::NormalizeFractions(ExprNode*& num, ExprNode*& den)
{
    ExprNode** link = &m_first;
    while (*link) {
        nodes::NormalizeInPlace(*link);
        link = &(*link)->next;
    }
    return ExprNode::NormalizeFractions(num, den);
}

void CompositeNode::ReplaceChild(ExprNode* old, ExprNode* replacement)
{
    for (ExprNode** link = &m_first; *link; link = &(*link)->next) {
        if (*link == old) {
            replacement->next = old->next;
            old->next = nullptr;
            *link = replacement;
            return;
        }
    }
}

void CompositeNode::CollectConstantIndices(ExprNode& list)
{
    for (ExprNode* child = m_first; child; child = child->next)
        child->CollectConstantIndices(list);
}

ExprNode* CompositeNode::FindReplaceSubscript()
{
    for (ExprNode* child = m_first; child; child = child->next)
        if (ExprNode* found = child->FindReplaceSubscript())
            return found;
    return nullptr;
}

void CompositeNode::Flatten()
{
    for (ExprNode* child = m_first; child; child = child->next)
        child->Flatten();
}

ExprNode* CompositeNode::FindChildAt(const DocPosition& position)
{
    if (position.GetKind() == DocPosition::kListPlace && GetSourceRange().owner == position.GetList()) {
        ExprNode* last = nullptr;
        for (ExprNode* child = m_first; child && child->GetSourceRange().start <= position.GetIndex();
             child = child->next)
            last = child;
        return nodes::Contains(last, position) ? last : nullptr;
    }
    for (ExprNode* child = m_first; child; child = child->next)
        if (nodes::Contains(child, position))
            return child;
    return nullptr;
}

ExprNode* CompositeNode::FindParentOf(const ExprNode* node)
{
    for (ExprNode* child = m_first; child; child = child->next)
        if (child == node)
            return this;
    for (ExprNode* child = m_first; child; child = child->next)
        if (ExprNode* found = child->FindParentOf(node))
            return found;
    return nullptr;
}

ExprNode* CompositeNode::GetLastChild() const
{
    return m_first ? m_first->GetLastSibling() : nullptr;
}

ExprNode* CompositeNode::ChildAt(int i) const
{
    ExprNode* child = m_first;
    for (int k = 1; child && k < i; ++k)
        child = child->next;
    return i >= 1 ? child : nullptr;
}

void CompositeNode::Recount()
{
    m_count = 0;
    for (ExprNode* child = m_first; child; child = child->next)
        ++m_count;
}

ExprNode* CompositeNode::DetachChildren()
{
    ExprNode* first = m_first;
    m_first = nullptr;
    m_count = 0;
    return first;
}

void CompositeNode::Unlink(ExprNode* child)
{
    for (ExprNode** link = &m_first; *link; link = &(*link)->next) {
        if (*link == child) {
            *link = child->next;
            child->next = nullptr;
            --m_count;
            return;
        }
    }
}

bool CompositeNode::GroupRun(ExprNode* first, ExprNode* last, CompositeNode* group)
{
    if (first == m_first && last == GetLastChild()) {
        delete group;
        SetMoverFlag(true);
        return false;
    }
    std::vector<ExprNode*> run;
    for (ExprNode* child = first; child; child = child->next) {
        run.push_back(child);
        if (child == last)
            break;
    }
    ExprNode* after = last->next;
    ReplaceChild(first, group);
    group->next = after;
    for (ExprNode* child : run) {
        child->next = nullptr;
        group->AppendChild(child);
    }
    group->CopyRangeOf(*first);
    group->Range().end = last->GetSourceRange().end;
    group->SetMoverFlag(true);
    Recount();
    return true;
}

void CompositeNode::SpliceTagged(TypeTag tag)
{
    for (ExprNode* child = m_first; child; child = child->next)
        child->Flatten();
    std::vector<ExprNode*> kept;
    bool spliced = false;
    for (ExprNode* child = DetachChildren(); child;) {
        ExprNode* following = child->next;
        child->next = nullptr;
        if (child->GetTag() == tag) {
            spliced = true;
            for (ExprNode* inner = static_cast<CompositeNode*>(child)->DetachChildren(); inner;) {
                ExprNode* innerNext = inner->next;
                inner->next = nullptr;
                kept.push_back(inner);
                inner = innerNext;
            }
            delete child;
        } else {
            kept.push_back(child);
        }
        child = following;
    }
    ChainAll(kept);
    (void)spliced;
}
