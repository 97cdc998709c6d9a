#pragma once
// Reads a row of components [first, end) as one kernel expression: the lexer
// makes tokens, and the grammar below (by recursive descent, with the
// precedence and implied multiplication of typed mathematics) builds the node
// tree. A row that does not parse becomes an error node over the whole range
// and sets the syntax-error flag.
#include "foundation/ExprNode.h"

class CompList;

// Set when a row does not parse; never cleared by the parser. The callers
// clear it before converting a row and test it afterwards.
extern bool gSyntaxError;

class MathParser {
public:
    static constexpr int kMaxDepth = 500;   // nesting of the grammar's rules

    MathParser(CompList& list, int first, int end);
    // A new node owned by the caller: the row's tree, or an error node.
    ExprNode* Parse();
    // The tree of the row, or null when it does not parse.
    ExprNode* ParseTokens();

private:
    CompList& m_list;
    int m_first;
    int m_end;
};
