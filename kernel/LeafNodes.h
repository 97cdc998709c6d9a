#pragma once
// The leaves of the tree: strings, numbers and symbols. Each number kind comes
// as a value (a 32-bit integer, a double) and as text that keeps the digits as
// typed or received, so that long numbers reach the kernel unchanged. A
// symbol is an entry of the built-in name table or a free name of its own.
#include "foundation/ExprNode.h"
#include "mathlink/MathLink.h"

#include <cstdint>
#include <string>

class StringNode : public ExprNode {
public:
    explicit StringNode(std::string text) : m_text(std::move(text)) {}
    StringNode(const SourceRange& range, std::string text) : ExprNode(range), m_text(std::move(text)) {}
    ExprNode* Clone() const override { return new StringNode(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    void GetText(Str255& out) override;
    TypeTag GetTag() const override { return TypeTag("strN"); }
    int GetTokenCode() const override;
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

// Text a formula shows as one of its terms (a reference as "(1)"), program
// character codes: a string to the kernel, text in MathML, an operand to
// the grammar.
class ShownTextNode : public StringNode {
public:
    using StringNode::StringNode;
    ExprNode* Clone() const override { return new ShownTextNode(*this); }
    void WriteMathML(MathMLOutput& writer) override;
    TypeTag GetTag() const override { return TypeTag("txtN"); }
    int GetTokenCode() const override;
};

// Shared by the four number leaves.
class NumberNode : public ExprNode {
public:
    using ExprNode::ExprNode;
    bool IsNumericFactor() const override { return true; }
    bool IsNumber() const override { return true; }
    // Shows the digits of text, at most the "Precision" preference's count of
    // them when limitDigits; an "e" exponent becomes a space, 10 and a superscript.
    static void AppendNumberComponents(const std::string& text, CompList& list, bool limitDigits);
    static int32_t RoundToInteger(double value);

protected:
    void BuildNumber(CompList& list, int level, const std::string& text, bool limitDigits) const;
};

class IntegerNode : public NumberNode {
public:
    explicit IntegerNode(int32_t value) : m_value(value) {}
    IntegerNode(const SourceRange& range, int32_t value) : NumberNode(range), m_value(value) {}
    ExprNode* Clone() const override { return new IntegerNode(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    int TakeSign() override;
    bool IsOne() const override { return m_value == 1; }
    void Negate() override { m_value = int32_t(0u - uint32_t(m_value)); }
    int32_t GetIntegerValue() const override { return m_value; }
    bool IsNumericExpr() const override { return true; }
    double GetRealValue() const override { return m_value; }
    void GetText(Str255& out) override;
    TypeTag GetTag() const override { return TypeTag("intN"); }
    int32_t Value() const { return m_value; }

private:
    int32_t m_value;
};

class IntegerTextNode : public NumberNode {
public:
    explicit IntegerTextNode(std::string digits) : m_text(std::move(digits)) {}
    IntegerTextNode(const SourceRange& range, std::string digits) : NumberNode(range), m_text(std::move(digits)) {}
    ExprNode* Clone() const override { return new IntegerTextNode(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    int TakeSign() override;
    void Negate() override;
    int32_t GetIntegerValue() const override;
    double GetRealValue() const override;
    void GetText(Str255& out) override;
    TypeTag GetTag() const override { return TypeTag("intN"); }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

class RealNode : public NumberNode {
public:
    explicit RealNode(double value) : m_value(value) {}
    RealNode(const SourceRange& range, double value) : NumberNode(range), m_value(value) {}
    ExprNode* Clone() const override { return new RealNode(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    int TakeSign() override;
    bool IsOne() const override { return m_value == 1.0; }
    void Negate() override { m_value = -m_value; }
    int32_t GetIntegerValue() const override { return RoundToInteger(m_value); }
    bool IsNumericExpr() const override { return true; }
    double GetRealValue() const override { return m_value; }
    void GetText(Str255& out) override;
    TypeTag GetTag() const override { return TypeTag("reaN"); }
    double Value() const { return m_value; }

private:
    double m_value;
};

class RealTextNode : public NumberNode {
public:
    explicit RealTextNode(std::string digits) : m_text(std::move(digits)) {}
    RealTextNode(const SourceRange& range, std::string digits) : NumberNode(range), m_text(std::move(digits)) {}
    ExprNode* Clone() const override { return new RealTextNode(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    int TakeSign() override;
    void Negate() override;
    int32_t GetIntegerValue() const override { return RoundToInteger(GetRealValue()); }
    bool IsNumericExpr() const override { return true; }
    double GetRealValue() const override;
    void GetText(Str255& out) override;
    TypeTag GetTag() const override { return TypeTag("reaN"); }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

class SymbolNode : public ExprNode {
public:
    // A built-in entry.
    explicit SymbolNode(int builtin) : m_builtin(builtin) {}
    SymbolNode(const SourceRange& range, int builtin) : ExprNode(range), m_builtin(builtin) {}
    // A free name, kept as given (program character codes).
    explicit SymbolNode(std::string text) : m_text(std::move(text)) {}
    SymbolNode(const SourceRange& range, std::string text) : ExprNode(range), m_text(std::move(text)) {}
    // A name read from the kernel: a built-in entry when the table knows it.
    static SymbolNode* FromKernelName(const std::string& text);

    ExprNode* Clone() const override { return new SymbolNode(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    void GetText(Str255& out) override;
    int GetTokenCode() const override;
    TypeTag GetTag() const override { return TypeTag("symN"); }

    // The symbol as the head of an application with n arguments.
    void PutPackageHead(MLINK link, int argCount) const;
    void PutPlainHead(MLINK link, int argCount) const;
    void WriteMathMLName(MathMLOutput& writer) const;

    bool IsBuiltin() const { return m_builtin > 0; }
    int Builtin() const { return m_builtin; }
    // The free name's text; empty for a built-in symbol.
    const std::string& FreeText() const { return m_text; }
    // The package name of a built-in symbol, or the free name.
    std::string Name() const;
    bool IsFreeNamed(const char* name) const { return !IsBuiltin() && m_text == name; }

private:
    std::string m_text;
    int m_builtin = 0;
};

// The error symbol: what a failed parse or an unreadable answer becomes.
class ErrorNode : public SymbolNode {
public:
    ErrorNode();
    explicit ErrorNode(const SourceRange& range);
    ExprNode* Clone() const override { return new ErrorNode(*this); }
    int GetTokenCode() const override;
    TypeTag GetTag() const override { return TypeTag("errN"); }
};

// An empty row (a matrix's or equation set's empty slot): Null to the
// kernel, an empty row in MathML, as the screen shows nothing there.
class EmptySlotNode : public SymbolNode {
public:
    EmptySlotNode();
    ExprNode* Clone() const override { return new EmptySlotNode(*this); }
    void WriteMathML(MathMLOutput& writer) override;
};

// The plus-minus sign standing as a factor.
class PlusMinusNode : public ExprNode {
public:
    PlusMinusNode() = default;
    explicit PlusMinusNode(const SourceRange& range) : ExprNode(range) {}
    ExprNode* Clone() const override { return new PlusMinusNode(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    int TakeSign() override { return 2; }
    bool IsOne() const override { return true; }
    bool IsNumericFactor() const override { return true; }
};

// Whether the node is a symbol of the built-in entry.
bool IsBuiltinSymbol(const ExprNode* node, int entry);
const SymbolNode* AsSymbol(const ExprNode* node);
