#include "kernel/FixedNode.h"

#include "kernel/NodeSupport.h"

FixedNode::FixedNode(const FixedNode& other) : ExprNode(other), m_partCount(other.m_partCount)
{
    for (int i = 0; i < m_partCount; ++i)
        m_parts[std::size_t(i)] = other.Part(i) ? other.Part(i)->Clone() : nullptr;
}

FixedNode::~FixedNode()
{
    for (ExprNode* part : m_parts)
        delete part;
}

ExprNode* FixedNode::TakePart(int i)
{
    ExprNode* part = Part(i);
    Part(i) = nullptr;
    return part;
}

void FixedNode::SetPart(int i, ExprNode* node)
{
    delete Part(i);
    Part(i) = node;
    if (node)
        node->next = nullptr;
}

bool FixedNode::NormalizeFractions(ExprNode*& num, ExprNode*& den)
{
    for (int i = 0; i < m_partCount; ++i)
        nodes::NormalizeInPlace(Part(i));
    return ExprNode::NormalizeFractions(num, den);
}

void FixedNode::ReplaceChild(ExprNode* old, ExprNode* replacement)
{
    for (int i = 0; i < m_partCount; ++i) {
        if (Part(i) == old && old) {
            Part(i) = replacement;
            return;
        }
    }
}

void FixedNode::CollectConstantIndices(ExprNode& list)
{
    for (int i = 0; i < m_partCount; ++i)
        if (Part(i))
            Part(i)->CollectConstantIndices(list);
}

ExprNode* FixedNode::FindReplaceSubscript()
{
    for (int i = 0; i < m_partCount; ++i)
        if (ExprNode* found = Part(i) ? Part(i)->FindReplaceSubscript() : nullptr)
            return found;
    return nullptr;
}

void FixedNode::Flatten()
{
    for (int i = 0; i < m_partCount; ++i)
        if (Part(i))
            Part(i)->Flatten();
}

ExprNode* FixedNode::FindChildAt(const DocPosition& position)
{
    for (int i = 0; i < m_partCount; ++i)
        if (nodes::Contains(Part(i), position))
            return Part(i);
    return nullptr;
}

ExprNode* FixedNode::FindParentOf(const ExprNode* node)
{
    for (int i = 0; i < m_partCount; ++i)
        if (Part(i) && Part(i) == node)
            return this;
    for (int i = 0; i < m_partCount; ++i)
        if (ExprNode* found = Part(i) ? Part(i)->FindParentOf(node) : nullptr)
            return found;
    return nullptr;
}
