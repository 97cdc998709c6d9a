#pragma once
// An expression held for a calculation or a term drag, kept until it is
// handed over or freed: the formula a component builds (none when it does not
// parse), or a kernel answer on its way into the document, which it prepares
// to read as mathematics: new integration constants get numbers after the
// largest one in sight, negative powers become fractions, and the node
// becomes a row of components.
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"

#include <memory>

class TextComp;

class TermRef {
public:
    TermRef() = default;
    // Takes the node.
    explicit TermRef(ExprNode* node) : m_node(node) {}

    // The expression the component builds; none, with the parser's
    // syntax-error flag cleared again, when it does not parse.
    static TermRef Build(TextComp& comp);

    ExprNode* Get() const { return m_node.get(); }
    explicit operator bool() const { return m_node != nullptr; }
    // Hands the expression over to the caller.
    ExprNode* Release() { return m_node.release(); }
    void Free() { m_node.reset(); }

    // Replaces each new-constant placeholder (C subscripted with the
    // kernel's placeholder) by the largest index of a subscripted C in the
    // held node and in shown (the source shown beside it; may be null), plus
    // one.
    void NextAfterMaxTerm(ExprNode* shown);
    // Flattens the held node and writes its negative powers as fractions.
    void RebuildFromParts();
    // The held node's components, as a new row.
    std::unique_ptr<CompList> CollectTerms() const;

private:
    std::unique_ptr<ExprNode> m_node;
};
