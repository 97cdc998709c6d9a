#pragma once
// The kernel-expression node of each math component, built from its rows.
// The components live below the kernel translation, so their BuildNode
// reaches these through the installed row builder. Every node carries the
// component's place in its row as its source range.
class ExprNode;
class TextComp;

ExprNode* BuildComponentNode(TextComp& comp);
