#pragma once
// The base of the nodes with a fixed set of children (one to four parts, some
// of which may be null): the recursive walks, child replacement, fraction
// normalisation and cloning are written once over the parts, which each class
// lists in the order its walks visit them.
#include "foundation/ExprNode.h"

#include <array>
#include <stdexcept>

class FixedNode : public ExprNode {
public:
    ~FixedNode() override;

    bool NormalizeFractions(ExprNode*& num, ExprNode*& den) override;
    void ReplaceChild(ExprNode* old, ExprNode* replacement) override;
    void CollectConstantIndices(ExprNode& list) override;
    ExprNode* FindReplaceSubscript() override;
    void Flatten() override;
    ExprNode* FindChildAt(const DocPosition& position) override;
    ExprNode* FindParentOf(const ExprNode* node) override;
    int GetChildCount() const override { return m_partCount; }

protected:
    explicit FixedNode(int partCount) : m_partCount(CheckedCount(partCount)) {}
    FixedNode(const SourceRange& range, int partCount) : ExprNode(range), m_partCount(CheckedCount(partCount)) {}
    // Copies the fields; the parts are cloned deeply.
    FixedNode(const FixedNode& other);

    ExprNode*& Part(int i) { return m_parts[std::size_t(i)]; }
    ExprNode* Part(int i) const { return m_parts[std::size_t(i)]; }
    // Hands a part over to the caller: the node no longer owns it.
    ExprNode* TakePart(int i);
    void SetPart(int i, ExprNode* node);

private:
    static constexpr int CheckedCount(int partCount)
    {
        return partCount >= 0 && partCount <= kMaxParts ? partCount : throw std::logic_error("too many node parts");
    }

    // The 3-D plot command has the most parts: functions, three ranges and
    // its computed graphics.
    static constexpr int kMaxParts = 5;
    std::array<ExprNode*, kMaxParts> m_parts{};
    int m_partCount;
};

// Deep copy of a node of class T (its copy constructor clones the parts).
template <typename T>
ExprNode* CloneOf(const T& node)
{
    return new T(node);
}
