#include "kernel/MathLexer.h"

#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/MathParser.h"
#include "kernel/NameTable.h"
#include "kernel/OperatorNodes.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/CharTable.h"
#include "foundation/CompList.h"
#include "foundation/LongWork.h"
#include "foundation/TextComp.h"
#include "math/CrossRefComp.h"

#include <cstdlib>
#include <string>

namespace {

constexpr unsigned char kBlank = 32;
constexpr unsigned char kTab = 9;
constexpr unsigned char kQuote = 34;
constexpr unsigned char kGreater = 62;
constexpr int kLongestShortNumber = 9;

bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

const CharEntry& EntryOf(unsigned char code)
{
    return CharTable::Entry(gWriterSymbolMap[code]);
}

} // namespace

MathLexer::MathLexer(CompList& list, int first, int end) : m_list(list), m_end(end), m_current(first) {}

bool MathLexer::IsChar(int index) const
{
    TextComp* comp = m_list.GetAt(index);
    return comp && !TextComp::IsNotChar(comp->Tag());
}

unsigned char MathLexer::CharAt(int index) const
{
    return IsChar(index) ? m_list.GetAt(index)->GetChar() : 0;
}

MathToken MathLexer::Scanned(int code, int start, int stop)
{
    MathToken token;
    token.code = code;
    token.scanned = true;
    token.range.SetParagraphRange(&m_list, start, stop);
    return token;
}

std::vector<MathToken> MathLexer::LexAll()
{
    std::vector<MathToken> tokens;
    do {
        const int from = m_current;
        tokens.push_back(Lex());
        // Reading a long formula is a step of the long work under way (a
        // copy as MathML): each component read counts.
        LongWork::Step(m_current - from);
    } while (tokens.back().code != Token::End);
    return tokens;
}

MathToken MathLexer::Lex()
{
    while (m_current < m_end && IsChar(m_current) && (CharAt(m_current) == kBlank || CharAt(m_current) == kTab))
        ++m_current;
    if (m_current >= m_end || !m_list.GetAt(m_current))
        return Scanned(Token::End, m_current, m_current);
    if (!IsChar(m_current)) {
        MathToken token;
        token.node.reset(ComponentNode(*m_list.GetAt(m_current)));
        if (!token.node)
            token.node = std::make_unique<ErrorNode>();
        if (!token.node->HasRange()) {
            SourceRange place;
            place.SetParagraphRange(&m_list, m_current, m_current + 1);
            token.node->SetRange(place);
        }
        token.code = token.node->GetTokenCode();
        ++m_current;
        return token;
    }
    unsigned char c = CharAt(m_current);
    if (EntryOf(c).kind == CharTable::letter)
        return LexName();
    if (IsDigit(c) || c == '.')
        return LexNumber();
    if (c == kQuote)
        return LexString();
    return LexSign();
}

// A reference read as it shows is a leaf of its text.
ExprNode* MathLexer::ComponentNode(TextComp& comp) const
{
    if (comp.Tag() == tag_Ref && ShownReferences::Active()) {
        const Str255 shown = static_cast<CrossRefComp&>(comp).GetTextString();
        return new ShownTextNode(std::string(shown.GetPtrAt(0), std::size_t(shown.GetLength())));
    }
    return comp.BuildNode();
}

MathToken MathLexer::LexName()
{
    int start = m_current;
    std::string name;
    while (m_current < m_end && int(name.size()) < kMaxNameLength) {
        unsigned char c = CharAt(m_current);
        if (!IsChar(m_current) || !(EntryOf(c).kind == CharTable::letter || IsDigit(c)))
            break;
        name += char(c);
        ++m_current;
    }
    MathToken token = Scanned(Token::Name, start, m_current);
    int entry = TheNameTable().Find(name.c_str());
    if (entry <= 0) {
        token.node = std::make_unique<SymbolNode>(token.range, name);
        return token;
    }
    switch (gBuiltinNames[entry].kind) {
    case NodeKind::Symbol:
        token.node = std::make_unique<SymbolNode>(token.range, entry);
        break;
    case NodeKind::Function:
        token.node = std::make_unique<SymbolNode>(token.range, entry);
        token.code = Token::Function;
        break;
    case NodeKind::Mod:
        token.operatorNode = std::make_unique<ModNode>(token.range);
        token.code = Token::Mod;
        break;
    case NodeKind::Or:
        token.code = Token::Or;
        break;
    default:
        token.node = std::make_unique<SymbolNode>(token.range, entry);
        token.code = gBuiltinNames[entry].token;
        break;
    }
    return token;
}

MathToken MathLexer::LexNumber()
{
    int start = m_current;
    std::string digits;
    bool point = false;
    while (m_current < m_end && IsChar(m_current) && int(digits.size()) < kMaxNameLength) {
        unsigned char c = CharAt(m_current);
        if (c == '.' && !point)
            point = true;
        else if (!IsDigit(c))
            break;
        digits += char(c);
        ++m_current;
    }
    MathToken token = Scanned(Token::Operand, start, m_current);
    if (digits == ".") {
        // A lone point is no number.
        token.code = Token::Error;
        return token;
    }
    if (int(digits.size()) > kLongestShortNumber) {
        if (point)
            token.node = std::make_unique<RealTextNode>(token.range, digits);
        else
            token.node = std::make_unique<IntegerTextNode>(token.range, digits);
    } else if (point) {
        token.node = std::make_unique<RealNode>(token.range, std::strtod(digits.c_str(), nullptr));
    } else {
        token.node = std::make_unique<IntegerNode>(token.range, int32_t(std::strtol(digits.c_str(), nullptr, 10)));
    }
    return token;
}

MathToken MathLexer::LexString()
{
    int start = m_current++;
    std::string text;
    bool closed = false;
    while (m_current < m_end && IsChar(m_current) && int(text.size()) < kMaxStringLength) {
        unsigned char c = CharAt(m_current++);
        if (c == kQuote) {
            closed = true;
            break;
        }
        text += char(c);
    }
    MathToken token = Scanned(Token::String, start, m_current);
    if (closed) {
        token.node = std::make_unique<StringNode>(token.range, text);
    } else {
        token.code = Token::Error;
        token.node = std::make_unique<ErrorNode>(token.range);
    }
    return token;
}

MathToken MathLexer::LexSign()
{
    unsigned char c = CharAt(m_current);
    int start = m_current++;
    int entry = EntryOf(c).kernelNameId;
    int code = entry > 0 && entry < kBuiltinNameCount ? gBuiltinNames[entry].token : Token::Error;
    MathToken token = Scanned(code, start, m_current);
    switch (code) {
    case Token::Name:
    case Token::Function:
    case Token::Relation:
    case Token::Log:
        token.node = std::make_unique<SymbolNode>(token.range, entry);
        return token;
    case Token::Minus:
        if (m_current < m_end && CharAt(m_current) == kGreater) {
            ++m_current;
            token.range.end = m_current;
            token.code = Token::Arrow;
        }
        return token;
    default:
        break;
    }
    bool punctuation = (code >= Token::Caret && code <= Token::Comma) || (code >= Token::Arrow && code <= Token::Dot);
    if (!punctuation)
        token.code = Token::Error;
    return token;
}
