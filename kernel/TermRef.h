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
    // Puts answer (taken) in the place of source, a part of the held whole
    // expression (source is deleted), and numbers the new constants of the
    // result. An answer of several alternatives makes the held node an "or"
    // of as many copies of the whole, each with one alternative in the
    // part's place. When source is not inside the held node, the answer
    // replaces it.
    void NextAfterMaxTerm(ExprNode* source, ExprNode* answer);
    // Flattens the held node and writes its negative powers as fractions.
    void RebuildFromParts();
    // The held node's components, as a new row.
    std::unique_ptr<CompList> CollectTerms() const;
    // As CollectTerms for side k (1-based) of a held relation; for k = 0,
    // a node that is no relation or a side it lacks, the whole node.
    std::unique_ptr<CompList> CollectTermsGuarded(int k) const;
    // The 1-based side of the held relation that holds term, or 0 when the
    // held node is no relation or term is not inside one of its sides.
    int GetTermIndex(const ExprNode* term) const;

private:
    std::unique_ptr<ExprNode> m_node;
};
