#pragma once
// Holds a kernel answer on its way into the document and prepares it to read
// as mathematics: new integration constants get numbers after the largest
// one in sight, negative powers become fractions, and the node becomes a row
// of components.
#include "foundation/CompList.h"

#include <memory>

class ExprNode;

class TermRef {
public:
    // Takes the node.
    explicit TermRef(ExprNode* node) : m_node(node) {}
    ExprNode* Get() const { return m_node.get(); }
    ExprNode* Release() { return m_node.release(); }

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
