#pragma once
// How a component row becomes a kernel expression: the math parser read over
// the whole row, and the code form of selected text. The kernel subsystem
// installs its builder at start-up; without one, rows build no node.
class CompList;
class ExprNode;
class TextComp;

class RowNodeBuilder {
public:
    virtual ~RowNodeBuilder() = default;
    // The node of the whole row ("Null" for an empty row); owned by the caller.
    virtual ExprNode* BuildNode(CompList& row) = 0;
    // The row as a list of text pieces, for text sent to the kernel as code.
    virtual ExprNode* BuildTextNode(CompList& row) = 0;
    // The node of one component (the default BuildNode of every component),
    // or null for a component that has none.
    virtual ExprNode* BuildComponentNode(TextComp& comp) { return nullptr; }

    static void Install(RowNodeBuilder* builder);
    static RowNodeBuilder* Get();
};
