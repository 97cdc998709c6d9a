#include "support/export/EveryCharacterDocument.h"

#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/ComponentFactory.h"
#include "foundation/DrawContext.h"
#include "foundation/RowNodeBuilder.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/FontFace.h"
#include "foundation/FontIds.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/ExprNode.h"
#include "kernel/KernelServices.h"
#include "kernel/MathParser.h"
#include "math/MathComponents.h"
#include "platform/draw/ImageDC.h"
#include "platform/draw/TextCodec.h"
#include "resources/SymbolPalette.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <set>
#include <stdexcept>

namespace {

enum Style { kPlainStyle = 3, kEquationStyle = 5, kNumberedEquationStyle = 6, kSourceCodeStyle = 7 };

// Characters nobody sees or types as themselves: blanks, the soft hyphen,
// and the pieces of tall brackets.
bool Enterable(char32_t ch)
{
    if (ch <= 32 || ch == 127 || ch == 0xA0 || ch == 0xAD || ch == 0xFFFD)
        return false;
    return ch < 0x239B || ch > 0x23AD;
}

} // namespace

std::vector<char32_t> EnterableCharacters()
{
    std::set<char32_t> characters;
    for (int charSet : {int(ANSI_CHARSET), int(SYMBOL_CHARSET)})
        for (int code = 0; code < 256; ++code) {
            const char32_t ch = TextCodec::ToUnicode(static_cast<unsigned char>(code), charSet);
            if (ch != TextCodec::kNoCharacter && Enterable(ch))
                characters.insert(ch);
        }
    return {characters.begin(), characters.end()};
}

EveryCharacterDocument::EveryCharacterDocument()
{
    InstallTextLayout();
    RegisterComponentClasses();
    RegisterMathComponents();
    InstallKernelServices();
    const std::pair<Place, const char*> mathPlaces[] = {
        {kEquation, "an equation"}, {kNumberedEquation, "a numbered equation"}, {kInline, "mathematics in text"}};
    for (char32_t ch : EnterableCharacters()) {
        Enter(ch, FontId::kText, kText, "typed in text");
        Enter(ch, FontId::kCode, kCode, "typed into source code");
        for (const auto& [place, name] : mathPlaces)
            Enter(ch, FontId::kMath, place, std::string("typed into ") + name);
    }
    for (UINT id = kFirstSymbolCommand; id < kFirstSymbolCommand + kSymbolPaletteCount; ++id)
        for (const auto& [place, name] : mathPlaces)
            EnterFromPalette(static_cast<uint8_t>(SymbolPaletteCode(id)), place,
                             std::string("from the palette into ") + name);
    m_paragraphs = std::make_unique<ParagraphList>();
    AppendParagraphs();
    Layout();
}

EveryCharacterDocument::~EveryCharacterDocument()
{
    m_paragraphs.reset();
    RowNodeBuilder::Install(nullptr);
    UnwindDrawContext();
}

// Lays the whole document out on a page image at 96 dpi.
void EveryCharacterDocument::Layout()
{
    m_image = std::make_unique<QImage>(816, 1056, QImage::Format_RGB32);
    m_image->fill(Qt::white);
    SetImageDpi(*m_image, 96);
    m_dc = std::make_unique<CImageDC>(*m_image);
    gDrawContext.BeginDrawOnDC(nullptr, m_dc.get());
    m_paragraphs->RelayoutAll(false);
}

// As typing does: the face that shows the character, preferring the one typed in.
void EveryCharacterDocument::Enter(char32_t ch, int preferredFont, Place place, const std::string& way)
{
    unsigned char code = 0;
    FontFace* face = FaceHolding(ch, m_fonts.GetFace(preferredFont), &code);
    if (!face)
        throw std::logic_error("no face holds an enterable character");
    m_entries.push_back({ch, code, face->GetFontId(), way});
    m_places.push_back(place);
}

void EveryCharacterDocument::EnterFromPalette(uint8_t code, Place place, const std::string& way)
{
    m_entries.push_back({TextCodec::ToUnicode(code, SYMBOL_CHARSET), code, FontId::kMath, way});
    m_places.push_back(place);
}

void EveryCharacterDocument::AppendParagraphs()
{
    ParagraphList& list = *m_paragraphs;
    FontFace* text = m_fonts.GetFace(FontId::kText);
    for (size_t n = 0; n < m_entries.size(); ++n) {
        auto* name = new ParagraphComp(kPlainStyle);
        for (char c : Name(n))
            name->GetRow()->Append(text->GetCharacter(static_cast<unsigned char>(c)));
        list.Append(name);
        const Place place = m_places[n];
        const int style = place == kEquation ? kEquationStyle
            : place == kNumberedEquation     ? kNumberedEquationStyle
            : place == kCode                 ? kSourceCodeStyle
                                             : kPlainStyle;
        auto* paragraph = new ParagraphComp(style);
        paragraph->GetRow()->Append(m_fonts.GetFace(m_entries[n].fontId)->GetCharacter(m_entries[n].code));
        list.Append(paragraph);
    }
}

bool EveryCharacterDocument::InMathematics(size_t n) const
{
    return (m_places[n] != kText && m_places[n] != kCode) || m_entries[n].fontId == FontId::kMath;
}

bool EveryCharacterDocument::ReadsAsExpression(size_t n)
{
    CompList& row = *m_paragraphs->GetAt(static_cast<int>(2 * n + 2))->GetRow();
    const bool before = gSyntaxError;
    gSyntaxError = false;
    std::unique_ptr<ExprNode> node(MathParser(row, 1, row.GetCount() + 1).Parse());
    const bool reads = node && !gSyntaxError;
    gSyntaxError = before;
    return reads;
}

std::string EveryCharacterDocument::Name(size_t n)
{
    return "[" + std::to_string(n) + "]";
}

std::string EveryCharacterDocument::Piece(const std::string& text, size_t n)
{
    const std::string name = Name(n);
    const size_t begin = text.find(name);
    if (begin == std::string::npos)
        return {};
    const size_t from = begin + name.size();
    const size_t end = text.find(Name(n + 1), from);
    return text.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

std::u32string EveryCharacterDocument::DecodeMarkup(const std::string& text)
{
    std::u32string out;
    const std::u32string decoded = QString::fromUtf8(text.data(), qsizetype(text.size())).toStdU32String();
    for (size_t i = 0; i < decoded.size(); ++i) {
        const size_t end = decoded[i] == U'&' ? decoded.find(U';', i) : std::u32string::npos;
        if (end == std::u32string::npos || end - i > 10) {
            out += decoded[i];
            continue;
        }
        const std::u32string entity = decoded.substr(i + 1, end - i - 1);
        std::string ascii(entity.begin(), entity.end());
        char32_t ch = 0;
        if (ascii.starts_with("#x") || ascii.starts_with("#X"))
            ch = char32_t(std::stoul(ascii.substr(2), nullptr, 16));
        else if (ascii.starts_with("#"))
            ch = char32_t(std::stoul(ascii.substr(1)));
        else if (ascii == "amp")
            ch = '&';
        else if (ascii == "lt")
            ch = '<';
        else if (ascii == "gt")
            ch = '>';
        else if (ascii == "quot")
            ch = '"';
        else if (ascii == "apos")
            ch = '\'';
        if (ch == 0) {
            out += decoded[i];
            continue;
        }
        out += ch;
        i = end;
    }
    return out;
}

std::string EveryCharacterDocument::Utf8(char32_t ch)
{
    return QString::fromUcs4(&ch, 1).toStdString();
}

std::string EveryCharacterDocument::Describe(const EnteredCharacter& entry)
{
    char head[64];
    std::snprintf(head, sizeof head, "U+%04X %s (code %d, font %d) ", unsigned(entry.ch), Utf8(entry.ch).c_str(),
                  entry.code, entry.fontId);
    return head + entry.way;
}
