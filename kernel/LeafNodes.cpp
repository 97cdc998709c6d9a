#include "kernel/LeafNodes.h"

#include "kernel/KernelCodes.h"
#include "kernel/MathMLOutput.h"
#include "kernel/MathLinkCharConv.h"
#include "kernel/NameTable.h"
#include "kernel/NodeSettings.h"
#include "kernel/NodeSupport.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/Str255.h"
#include "math/ExponentComp.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kDefaultDigits = 16;
constexpr unsigned char kQuote = 34;

std::string Format(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string FormatLong(int32_t value)
{
    return std::to_string(value);
}

bool StartsNegative(const std::string& text)
{
    return !text.empty() && text.front() == '-';
}

int StripSign(std::string& text)
{
    if (!StartsNegative(text))
        return 0;
    text.erase(0, 1);
    return 1;
}

void FlipSign(std::string& text)
{
    if (StartsNegative(text))
        text.erase(0, 1);
    else
        text.insert(0, 1, '-');
}

} // namespace

// ---- strings ----

void StringNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    nodes::PutTextAtom(link, MLTKSTR, MathLinkCharConv::MakeLinkString(m_text.c_str()).c_str());
}

void StringNode::BuildComponents(CompList& list, int)
{
    nodes::AppendTextChar(list, kQuote);
    nodes::AppendTextChars(list, m_text.c_str());
    nodes::AppendTextChar(list, kQuote);
}

void StringNode::WriteMathML(MathMLOutput& writer)
{
    writer.WriteIndent();
    writer.WriteStartTag("mtext", false);
    writer.WriteEscapedChar('"');
    writer.WriteEscapedCString(m_text.c_str());
    writer.WriteEscapedChar('"');
    writer.EndElement("mtext", false);
    writer.NewLine();
}

void StringNode::GetText(Str255& out)
{
    out = Str255(m_text.substr(0, 255).c_str());
}

int StringNode::GetTokenCode() const
{
    return Token::String;
}

void ShownTextNode::WriteMathML(MathMLOutput& writer)
{
    writer.WriteIndent();
    writer.WriteStartTag("mtext", false);
    writer.WriteEscapedCString(Text().c_str());
    writer.EndElement("mtext", false);
    writer.NewLine();
}

int ShownTextNode::GetTokenCode() const
{
    return Token::Operand;
}

// ---- numbers ----

void NumberNode::AppendNumberComponents(const std::string& text, CompList& list, bool limitDigits)
{
    int precision = NodeSettings::Get().precision;
    int limit = precision > 0 ? precision : kDefaultDigits;
    int digits = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != 'e'; ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9')
            ++digits;
        if (!limitDigits || digits <= limit)
            nodes::AppendMathChar(list, static_cast<unsigned char>(c));
    }
    if (i >= text.size())
        return;
    nodes::AppendMathChar(list, ' ');
    nodes::AppendMathChar(list, '1');
    nodes::AppendMathChar(list, '0');
    ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    CompList exponent;
    for (; i < text.size(); ++i)
        nodes::AppendMathChar(exponent, static_cast<unsigned char>(text[i]));
    list.Append(new ExponentComp(nodes::Take(exponent)));
}

int32_t NumberNode::RoundToInteger(double value)
{
    if (!std::isfinite(value))
        return 0;
    double c = std::ceil(value);
    double f = std::floor(value);
    double rounded = c - value >= 0.5 ? f : c;
    if (rounded >= 2147483647.0)
        return INT32_MAX;
    if (rounded <= -2147483648.0)
        return INT32_MIN;
    return int32_t(rounded);
}

void NumberNode::BuildNumber(CompList& list, int level, const std::string& text, bool limitDigits) const
{
    nodes::BuildMaybeWrapped(list, StartsNegative(text) && level >= Level::LastFactor,
                             [&](CompList& target) { AppendNumberComponents(text, target, limitDigits); });
}

void IntegerNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutLongInteger(link, m_value);
}

void IntegerNode::BuildComponents(CompList& list, int level)
{
    BuildNumber(list, level, FormatLong(m_value), false);
}

void IntegerNode::WriteMathML(MathMLOutput& writer)
{
    writer.WriteIntegerElement("mn", m_value);
}

int IntegerNode::TakeSign()
{
    if (m_value >= 0)
        return 0;
    Negate();
    return 1;
}

void IntegerNode::GetText(Str255& out)
{
    out = Str255(FormatLong(m_value).c_str());
}

void IntegerTextNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    if (m_text.empty())
        MLPutLongInteger(link, 0);
    else
        nodes::PutTextAtom(link, MLTKINT, m_text.c_str());
}

void IntegerTextNode::BuildComponents(CompList& list, int level)
{
    nodes::BuildMaybeWrapped(list, StartsNegative(m_text) && level >= Level::LastFactor,
                             [&](CompList& target) { ExprNode::AppendCharacters(m_text.c_str(), target); });
}

void IntegerTextNode::WriteMathML(MathMLOutput& writer)
{
    writer.WriteTextElement("mn", m_text.c_str());
}

int IntegerTextNode::TakeSign()
{
    return StripSign(m_text);
}

void IntegerTextNode::Negate()
{
    FlipSign(m_text);
}

int32_t IntegerTextNode::GetIntegerValue() const
{
    return int32_t(std::strtol(m_text.c_str(), nullptr, 10));
}

double IntegerTextNode::GetRealValue() const
{
    return double(GetIntegerValue());
}

void IntegerTextNode::GetText(Str255& out)
{
    out = Str255(m_text.substr(0, 255).c_str());
}

void RealNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutDouble(link, m_value);
}

void RealNode::BuildComponents(CompList& list, int level)
{
    BuildNumber(list, level, Format("%g", m_value), true);
}

void RealNode::WriteMathML(MathMLOutput& writer)
{
    writer.WriteRealElement("mn", m_value);
}

int RealNode::TakeSign()
{
    if (!(m_value < 0))
        return 0;
    m_value = -m_value;
    return 1;
}

void RealNode::GetText(Str255& out)
{
    out = Str255(Format("%g", m_value).c_str());
}

void RealTextNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    if (m_text.empty())
        MLPutDouble(link, 0.0);
    else
        nodes::PutTextAtom(link, MLTKREAL, m_text.c_str());
}

void RealTextNode::BuildComponents(CompList& list, int level)
{
    BuildNumber(list, level, m_text, true);
}

void RealTextNode::WriteMathML(MathMLOutput& writer)
{
    writer.WriteTextElement("mn", m_text.c_str());
}

int RealTextNode::TakeSign()
{
    return StripSign(m_text);
}

void RealTextNode::Negate()
{
    FlipSign(m_text);
}

double RealTextNode::GetRealValue() const
{
    return m_text.empty() ? 0.0 : std::strtod(m_text.c_str(), nullptr);
}

void RealTextNode::GetText(Str255& out)
{
    out = Str255(m_text.substr(0, 255).c_str());
}

// ---- symbols ----

SymbolNode* SymbolNode::FromKernelName(const std::string& text)
{
    int entry = TheNameTable().Find(text.c_str());
    return entry > 0 ? new SymbolNode(entry) : new SymbolNode(text);
}

void SymbolNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    if (IsBuiltin())
        MLPutSymbol(link, gBuiltinNames[m_builtin].package);
    else
        nodes::PutProgramSymbol(link, m_text.c_str());
}

void SymbolNode::PutPlainForm(MLINK link) const
{
    if (IsBuiltin())
        nodes::PutStoredSymbol(link, gBuiltinNames[m_builtin].plain);
    else
        nodes::PutProgramSymbol(link, m_text.c_str());
}

void SymbolNode::PutPackageHead(MLINK link, int argCount) const
{
    if (IsBuiltin())
        MLPutFunction(link, gBuiltinNames[m_builtin].package, argCount);
    else
        MLPutFunction(link, m_text.c_str(), argCount);
}

void SymbolNode::PutPlainHead(MLINK link, int argCount) const
{
    if (IsBuiltin()) {
        MLPutFunction(link, nodes::StoredToLink(gBuiltinNames[m_builtin].plain).c_str(), argCount);
    } else {
        nodes::PutProgramHead(link, m_text.c_str(), argCount);
    }
}

void SymbolNode::BuildComponents(CompList& list, int)
{
    if (!IsBuiltin()) {
        ExprNode::AppendCharacters(m_text.c_str(), list);
        return;
    }
    for (const char* p = gBuiltinNames[m_builtin].display; *p; ++p)
        nodes::AppendMathChar(list, gReaderSymbolMap[static_cast<unsigned char>(*p)]);
}

void SymbolNode::WriteMathMLName(MathMLOutput& writer) const
{
    if (IsBuiltin())
        writer.WriteString(gBuiltinNames[m_builtin].mathml);
    else
        writer.WriteEscapedCString(m_text.c_str());
}

void SymbolNode::WriteMathML(MathMLOutput& writer)
{
    writer.WriteIndent();
    writer.WriteString("<mi>");
    WriteMathMLName(writer);
    writer.WriteString("</mi>");
    writer.NewLine();
}

std::string SymbolNode::Name() const
{
    return IsBuiltin() ? std::string(gBuiltinNames[m_builtin].package) : m_text;
}

void SymbolNode::GetText(Str255& out)
{
    out = Str255(Name().substr(0, 255).c_str());
}

int SymbolNode::GetTokenCode() const
{
    return IsBuiltin() ? gBuiltinNames[m_builtin].token : Token::Name;
}

ErrorNode::ErrorNode() : SymbolNode(Entry::Error) {}

ErrorNode::ErrorNode(const SourceRange& range) : SymbolNode(range, Entry::Error) {}

EmptySlotNode::EmptySlotNode() : SymbolNode(Entry::Null) {}

void EmptySlotNode::WriteMathML(MathMLOutput& writer)
{
    writer.StartEmptyElement("mrow");
    writer.EndPendingTag(true);
}

int ErrorNode::GetTokenCode() const
{
    return Token::Error;
}

void PlusMinusNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutSymbol(link, gBuiltinNames[Entry::PlusMinus].package);
}

bool IsBuiltinSymbol(const ExprNode* node, int entry)
{
    const SymbolNode* symbol = AsSymbol(node);
    return symbol && symbol->Builtin() == entry;
}

const SymbolNode* AsSymbol(const ExprNode* node)
{
    return dynamic_cast<const SymbolNode*>(node);
}
