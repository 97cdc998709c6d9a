#pragma once
// An expression held for a calculation or a term drag: the formula a
// component builds (none when it does not parse), kept until it is handed
// over or freed.
#include "foundation/ExprNode.h"

#include <memory>

class TextComp;

class TermRef {
public:
    TermRef() = default;
    explicit TermRef(ExprNode* node) : m_node(node) {}

    // The expression the component builds; none, with the parser's
    // syntax-error flag cleared again, when it does not parse.
    static TermRef Build(TextComp& comp);

    ExprNode* Get() const { return m_node.get(); }
    explicit operator bool() const { return m_node != nullptr; }
    // Hands the expression over to the caller.
    ExprNode* Release() { return m_node.release(); }
    void Free() { m_node.reset(); }

private:
    std::unique_ptr<ExprNode> m_node;
};
