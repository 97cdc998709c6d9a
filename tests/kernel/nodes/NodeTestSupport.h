#pragma once
// A loopback link that turns what a node writes into full-form text, and the
// small trees the node tests are built from.
#include "foundation/ExprNode.h"
#include "mathlink/MathLink.h"

#include <memory>
#include <string>

class LoopbackLink {
public:
    LoopbackLink();
    ~LoopbackLink();
    MLINK Get() const { return m_link; }
    // What the node writes, as full-form text.
    std::string Package(const ExprNode& node, int mode = 0);
    std::string Plain(const ExprNode& node);
    // Ends the packet written so far and reads it back as text.
    std::string TakeWritten();

private:
    MLENV m_env;
    MLINK m_link;
};

// Leaves and small compounds, for building trees in tables.
ExprNode* Sym(const char* name);
ExprNode* Int(int value);
ExprNode* Seq(ExprNode* a, ExprNode* b);
ExprNode* List2(ExprNode* a, ExprNode* b);
