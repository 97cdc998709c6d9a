#pragma once
// The lexer of the math parser: turns the components [first, end) of a row
// into tokens. Characters are scanned as names, numbers, strings and signs;
// every other component builds its own node and enters as one token whose
// code the node chooses, so that a superscript, subscript, big operator or
// derivative operator reaches the grammar as an incomplete node.
#include "foundation/ExprNode.h"

#include <memory>
#include <vector>

class CompList;
class TextComp;

struct MathToken {
    int code = 0;
    std::unique_ptr<ExprNode> node;
    std::unique_ptr<ExprNode> operatorNode;   // the empty modulus of "mod"
    SourceRange range;

    // The token's place: its own range for scanned tokens, its node's otherwise.
    const SourceRange& Place() const { return node && !scanned ? node->GetSourceRange() : range; }
    bool scanned = false;
};

class MathLexer {
public:
    static constexpr int kMaxNameLength = 4095;
    static constexpr int kMaxStringLength = 4094;

    MathLexer(CompList& list, int first, int end);
    // The next token; code 0 at the end of the range.
    MathToken Lex();
    // Every token up to the end (the last has code 0).
    std::vector<MathToken> LexAll();

private:
    unsigned char CharAt(int index) const;   // 0 for a component that is no character
    bool IsChar(int index) const;
    ExprNode* ComponentNode(TextComp& comp) const;
    MathToken Scanned(int code, int start, int stop);
    MathToken LexName();
    MathToken LexNumber();
    MathToken LexString();
    MathToken LexSign();

    CompList& m_list;
    int m_end;
    int m_current;
};
