#pragma once
// Reads kernel answers from the link into expression nodes. A head's entry in
// the built-in name table decides the node it becomes; the kernel's plain
// names and the package's own names lead to the same nodes.
//
// An answer is untrusted input: nesting deeper than kMaxDepth, and more than
// kMaxNodes nodes in one answer, are read as error nodes; every head reads
// exactly the arguments that arrived (surplus ones are read and dropped,
// missing ones are null); any token the link cannot read gives an error node.
// The readers never throw on bad data and never return null.
#include "mathlink/MathLink.h"

#include <string>

class ExprNode;

class KernelReader {
public:
    static constexpr int kMaxDepth = 512;
    static constexpr long kMaxNodes = 2000000;
    static constexpr int kLongestInteger = 9;    // more digits are kept as text
    static constexpr int kLongestReal = 15;

    explicit KernelReader(MLINK link) : m_link(link) {}

    ExprNode* ReadExpr();
    ExprNode* ReadSymbol();
    ExprNode* ReadFunction();
    // The link could not be read at some point (the answer is partly error nodes).
    bool Failed() const { return m_failed; }

private:
    struct Args;
    ExprNode* ReadAtomText(int type, bool& ok, std::string& text);
    ExprNode* ReadInteger();
    ExprNode* ReadReal();
    ExprNode* ReadString();
    ExprNode* Dispatch(int entry, int count);
    ExprNode* ReadPlotNode(int entry, int kind, int count);
    ExprNode* Fail();

    MLINK m_link;
    int m_depth = 0;
    long m_nodes = 0;
    bool m_failed = false;
};

// The reader functions of the kernel link: one expression, a symbol, or a
// compound expression (its head and arguments).
ExprNode* ReadKernelExpr(MLINK link);
ExprNode* ReadKernelSymbol(MLINK link);
ExprNode* ReadKernelFunction(MLINK link);
// Reads n expressions and deletes them.
void DiscardKernelExprs(MLINK link, int count);

// What a drawing variable read from the kernel ("VXDrawVar"[identity])
// becomes: the drawings install the maker, which takes the argument node
// over. Without one, or with another argument count, the expression is kept
// as an applied symbol.
using DrawVarReadMaker = ExprNode* (*)(ExprNode* identity);
void InstallDrawVarReadMaker(DrawVarReadMaker maker);
