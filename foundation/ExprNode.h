#pragma once
// The kernel-expression node tree: the in-memory form of an expression between
// the document and the kernel. Components hand out new nodes (owned by the
// caller) from their BuildNode operation; the node classes, their kernel forms
// and their MathML come with the kernel translation (kernel/), which is also
// where the operations that need the link are written.
//
// A node owns the rest of its sibling chain: deleting a node deletes every
// node after it. Nodes that move between trees are unlinked first.
#include "foundation/SourceRange.h"
#include "foundation/TypeTag.h"

#include <cstdint>

class CompList;
class DocPosition;
class MathMLOutput;
class Str255;
struct MLLinkObject;

class ExprNode {
public:
    using Link = MLLinkObject*;

    ExprNode() = default;
    explicit ExprNode(const SourceRange& range) : m_range(range), m_hasRange(1) {}
    ExprNode(const ExprNode& other);
    ExprNode& operator=(const ExprNode&) = delete;
    virtual ~ExprNode();

    // ---- the node operations, in slot order ----
    virtual ExprNode* Clone() const = 0;
    virtual void AppendChild(ExprNode* node) { delete node; }
    virtual bool IsSequence() const { return false; }
    // Mode 0: plain request; 1: term dragging (target and mover wrappers);
    // 2: the marked part of a kernel question.
    virtual void PutPackageForm(Link link, int mode) const = 0;
    virtual void PutPlainForm(Link link) const { PutPackageForm(link, 0); }
    virtual void BuildComponents(CompList& list, int level) {}
    virtual void WriteMathML(MathMLOutput& writer) {}
    // Removes a leading sign: 0 none, 1 minus, 2 plus-minus.
    virtual int TakeSign() { return 0; }
    // True when the node is, or turned into, the fraction num / den.
    virtual bool NormalizeFractions(ExprNode*& num, ExprNode*& den);
    virtual void DropUnitFactors() {}
    virtual bool IsOne() const { return false; }
    virtual bool IsNumericFactor() const { return false; }
    virtual bool IsNumber() const { return false; }
    virtual void Negate() {}
    virtual bool IsSimpleArgument() const { return true; }
    virtual int32_t GetIntegerValue() const { return 0; }
    virtual bool IsNumericExpr() const { return false; }
    virtual double GetRealValue() const { return 0.0; }
    virtual int GetTermOrderKey() const { return 0; }
    // The linear text of the node, at most 255 characters.
    virtual void GetText(Str255& out);
    // Puts replacement in old's place; old is unlinked, not deleted.
    virtual void ReplaceChild(ExprNode* old, ExprNode* replacement) {}
    virtual void CollectConstantIndices(ExprNode& list) {}
    virtual ExprNode* FindReplaceSubscript() { return nullptr; }
    virtual bool SetMover(ExprNode* first, ExprNode* last);
    virtual void Flatten() {}
    virtual ExprNode* FindChildAt(const DocPosition& position) { return nullptr; }
    virtual ExprNode* FindParentOf(const ExprNode* node) { return nullptr; }
    virtual ExprNode* GetLastChild() const { return nullptr; }
    virtual int GetTokenCode() const;
    virtual TypeTag GetTag() const;
    virtual bool IsPower() const { return false; }
    virtual ExprNode* GetPowerBase() const { return nullptr; }
    virtual int GetItemCount() const { return 1; }
    virtual int GetAlternativeCount() const { return 1; }
    virtual int GetChildCount() const { return 0; }

    // ---- fields ----
    const SourceRange& GetSourceRange() const { return m_range; }
    SourceRange& Range() { return m_range; }
    bool HasRange() const { return m_hasRange != 0; }
    void SetRange(const SourceRange& range)
    {
        m_range = range;
        m_hasRange = 1;
    }
    void CopyRangeOf(const ExprNode& other)
    {
        m_range = other.m_range;
        m_hasRange = other.m_hasRange;
    }
    bool IsTarget() const { return m_target != 0; }
    bool IsMover() const { return m_mover != 0; }
    void SetTarget(bool on) { m_target = on ? 1 : 0; }
    void SetMoverFlag(bool on) { m_mover = on ? 1 : 0; }

    ExprNode* next = nullptr;

    ExprNode* GetLastSibling();
    // A new row holding the node's components at the level of a whole expression.
    CompList* ToCompList();
    // Appends the math face's shared character of each byte of the text.
    static void AppendCharacters(const char* text, CompList& list);

private:
    SourceRange m_range;
    uint8_t m_target = 0;
    uint8_t m_mover = 0;
    uint8_t m_hasRange = 0;
    // Kept for the term-dragging code; no node class reads them.
    int32_t m_spare = 0;
    int32_t m_spareIndex = -1;
};
