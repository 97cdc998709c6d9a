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

// While one stands, a reference in a row reads as the text it shows, one
// term of the formula around it ("y=(1)+2"), where the kernel reads the
// equation it refers to: the exports write a formula as the screen shows
// it. Nested parses (the rows of structures) read alike. User-interface
// thread only, as the syntax-error flag.
class ShownReferences {
public:
    ShownReferences() { ++s_depth; }
    ~ShownReferences() { --s_depth; }
    ShownReferences(const ShownReferences&) = delete;
    ShownReferences& operator=(const ShownReferences&) = delete;
    static bool Active() { return s_depth > 0; }

private:
    static int s_depth;
};

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
