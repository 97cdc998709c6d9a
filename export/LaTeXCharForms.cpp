#include "export/LaTeXCharForms.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/CharTable.h"
#include "platform/draw/TextCodec.h"

#include <array>
#include <string_view>

namespace {

struct UnicodeForm {
    char32_t ch;
    const char* text;  // "" when only mathematics has it
    const char* math;  // "" when only text has it
};

// Characters the two code tables can yield above ASCII.
constexpr UnicodeForm kUnicodeForms[] = {
    {0x00A0, "~", "~"}, {0x00A1, "!`", "\\mbox{!`}"}, {0x00A2, "\\textcent{}", "\\mbox{\\textcent}"},
    {0x00A3, "\\pounds{}", "\\pounds "}, {0x00A4, "\\textcurrency{}", "\\mbox{\\textcurrency}"},
    {0x00A5, "\\textyen{}", "\\mbox{\\textyen}"}, {0x00A6, "\\textbrokenbar{}", "\\mbox{\\textbrokenbar}"},
    {0x00A7, "\\S{}", "\\S "}, {0x00A8, "\\\"{}", "\\mbox{\\\"{}}"}, {0x00A9, "\\copyright{}", "\\copyright "},
    {0x00AA, "\\textordfeminine{}", "\\mbox{\\textordfeminine}"}, {0x00AB, "$\\ll$", "\\ll "},
    {0x00AC, "$\\neg$", "\\neg "}, {0x00AD, "-", "-"}, {0x00AE, "\\textregistered{}", "\\mbox{\\textregistered}"},
    {0x00AF, "\\={}", "\\mbox{\\={}}"}, {0x00B0, "\\textdegree{}", "^{\\circ}"}, {0x00B1, "$\\pm$", "\\pm "},
    {0x00B2, "\\texttwosuperior{}", "^{2}"}, {0x00B3, "\\textthreesuperior{}", "^{3}"}, {0x00B4, "\\'{}", "\\mbox{\\'{}}"},
    {0x00B5, "$\\mu$", "\\mu "}, {0x00B6, "\\P{}", "\\P "}, {0x00B7, "\\textperiodcentered{}", "\\cdot "},
    {0x00B8, "\\c{}", "\\mbox{\\c{}}"}, {0x00B9, "\\textonesuperior{}", "^{1}"},
    {0x00BA, "\\textordmasculine{}", "\\mbox{\\textordmasculine}"}, {0x00BB, "$\\gg$", "\\gg "},
    {0x00BC, "\\textonequarter{}", "\\frac{1}{4}"}, {0x00BD, "\\textonehalf{}", "\\frac{1}{2}"},
    {0x00BE, "\\textthreequarters{}", "\\frac{3}{4}"}, {0x00BF, "?`", "\\mbox{?`}"},
    {0x00C0, "\\`{A}", "\\mbox{\\`{A}}"}, {0x00C1, "\\'{A}", "\\mbox{\\'{A}}"}, {0x00C2, "\\^{A}", "\\mbox{\\^{A}}"},
    {0x00C3, "\\~{A}", "\\mbox{\\~{A}}"}, {0x00C4, "\\\"{A}", "\\mbox{\\\"{A}}"}, {0x00C5, "\\AA{}", "\\mbox{\\AA}"},
    {0x00C6, "\\AE{}", "\\mbox{\\AE}"}, {0x00C7, "\\c{C}", "\\mbox{\\c{C}}"}, {0x00C8, "\\`{E}", "\\mbox{\\`{E}}"},
    {0x00C9, "\\'{E}", "\\mbox{\\'{E}}"}, {0x00CA, "\\^{E}", "\\mbox{\\^{E}}"}, {0x00CB, "\\\"{E}", "\\mbox{\\\"{E}}"},
    {0x00CC, "\\`{I}", "\\mbox{\\`{I}}"}, {0x00CD, "\\'{I}", "\\mbox{\\'{I}}"}, {0x00CE, "\\^{I}", "\\mbox{\\^{I}}"},
    {0x00CF, "\\\"{I}", "\\mbox{\\\"{I}}"}, {0x00D0, "D", "\\mbox{D}"}, {0x00D1, "\\~{N}", "\\mbox{\\~{N}}"},
    {0x00D2, "\\`{O}", "\\mbox{\\`{O}}"}, {0x00D3, "\\'{O}", "\\mbox{\\'{O}}"}, {0x00D4, "\\^{O}", "\\mbox{\\^{O}}"},
    {0x00D5, "\\~{O}", "\\mbox{\\~{O}}"}, {0x00D6, "\\\"{O}", "\\mbox{\\\"{O}}"}, {0x00D7, "$\\times$", "\\times "},
    {0x00D8, "\\O{}", "\\mbox{\\O}"}, {0x00D9, "\\`{U}", "\\mbox{\\`{U}}"}, {0x00DA, "\\'{U}", "\\mbox{\\'{U}}"},
    {0x00DB, "\\^{U}", "\\mbox{\\^{U}}"}, {0x00DC, "\\\"{U}", "\\mbox{\\\"{U}}"}, {0x00DD, "\\'{Y}", "\\mbox{\\'{Y}}"},
    {0x00DE, "Th", "\\mbox{Th}"}, {0x00DF, "\\ss{}", "\\mbox{\\ss}"}, {0x00E0, "\\`{a}", "\\mbox{\\`{a}}"},
    {0x00E1, "\\'{a}", "\\mbox{\\'{a}}"}, {0x00E2, "\\^{a}", "\\mbox{\\^{a}}"}, {0x00E3, "\\~{a}", "\\mbox{\\~{a}}"},
    {0x00E4, "\\\"{a}", "\\mbox{\\\"{a}}"}, {0x00E5, "\\aa{}", "\\mbox{\\aa}"}, {0x00E6, "\\ae{}", "\\mbox{\\ae}"},
    {0x00E7, "\\c{c}", "\\mbox{\\c{c}}"}, {0x00E8, "\\`{e}", "\\mbox{\\`{e}}"}, {0x00E9, "\\'{e}", "\\mbox{\\'{e}}"},
    {0x00EA, "\\^{e}", "\\mbox{\\^{e}}"}, {0x00EB, "\\\"{e}", "\\mbox{\\\"{e}}"}, {0x00EC, "\\`{\\i}", "\\mbox{\\`{\\i}}"},
    {0x00ED, "\\'{\\i}", "\\mbox{\\'{\\i}}"}, {0x00EE, "\\^{\\i}", "\\mbox{\\^{\\i}}"},
    {0x00EF, "\\\"{\\i}", "\\mbox{\\\"{\\i}}"}, {0x00F0, "d", "\\mbox{d}"}, {0x00F1, "\\~{n}", "\\mbox{\\~{n}}"},
    {0x00F2, "\\`{o}", "\\mbox{\\`{o}}"}, {0x00F3, "\\'{o}", "\\mbox{\\'{o}}"}, {0x00F4, "\\^{o}", "\\mbox{\\^{o}}"},
    {0x00F5, "\\~{o}", "\\mbox{\\~{o}}"}, {0x00F6, "\\\"{o}", "\\mbox{\\\"{o}}"}, {0x00F7, "$\\div$", "\\div "},
    {0x00F8, "\\o{}", "\\mbox{\\o}"}, {0x00F9, "\\`{u}", "\\mbox{\\`{u}}"}, {0x00FA, "\\'{u}", "\\mbox{\\'{u}}"},
    {0x00FB, "\\^{u}", "\\mbox{\\^{u}}"}, {0x00FC, "\\\"{u}", "\\mbox{\\\"{u}}"}, {0x00FD, "\\'{y}", "\\mbox{\\'{y}}"},
    {0x00FE, "th", "\\mbox{th}"}, {0x00FF, "\\\"{y}", "\\mbox{\\\"{y}}"},
    {0x0152, "\\OE{}", "\\mbox{\\OE}"}, {0x0153, "\\oe{}", "\\mbox{\\oe}"}, {0x0160, "\\v{S}", "\\mbox{\\v{S}}"},
    {0x0161, "\\v{s}", "\\mbox{\\v{s}}"}, {0x0178, "\\\"{Y}", "\\mbox{\\\"{Y}}"}, {0x017D, "\\v{Z}", "\\mbox{\\v{Z}}"},
    {0x017E, "\\v{z}", "\\mbox{\\v{z}}"}, {0x0192, "$f$", "f"}, {0x02C6, "\\^{}", "\\mbox{\\^{}}"},
    {0x02D9, "\\.{}", "\\mbox{\\.{}}"},
    {0x02DC, "\\~{}", "\\mbox{\\~{}}"}, {0x2013, "--", "\\mbox{--}"}, {0x2014, "---", "\\mbox{---}"},
    {0x2018, "`", "\\mbox{`}"}, {0x2019, "'", "'"}, {0x201A, ",", ","},
    {0x201C, "``", "\\mbox{``}"}, {0x201D, "''", "''"}, {0x201E, ",,", ",,"},
    {0x2020, "\\dag{}", "\\dagger "}, {0x2021, "\\ddag{}", "\\ddagger "},
};

// Characters outside Latin-1 that only mathematics writes.
constexpr UnicodeForm kMathOnlyForms[] = {
    {0x2022, "\\textbullet{}", "\\bullet "}, {0x2026, "\\ldots{}", "\\ldots "}, {0x2030, "\\textperthousand{}", "\\mbox{\\textperthousand}"},
    {0x2039, "$<$", "<"}, {0x203A, "$>$", ">"}, {0x20AC, "\\texteuro{}", "\\mbox{\\texteuro}"},
    {0x2122, "\\texttrademark{}", "\\mbox{\\texttrademark}"}, {0x2202, "$\\partial$", "\\partial "},
    {0x2211, "$\\sum$", "\\sum "}, {0x220F, "$\\prod$", "\\prod "}, {0x221E, "$\\infty$", "\\infty "},
    {0x2260, "$\\neq$", "\\neq "}, {0x03C0, "$\\pi$", "\\pi "},
    // Greek letters and signs of the mathematics face.
    {0x0393, "", "\\Gamma "}, {0x0394, "", "\\Delta "}, {0x0398, "", "\\Theta "}, {0x039B, "", "\\Lambda "},
    {0x039E, "", "\\Xi "}, {0x03A0, "", "\\Pi "}, {0x03A3, "", "\\Sigma "}, {0x03A6, "", "\\Phi "},
    {0x03A8, "", "\\Psi "}, {0x03A9, "", "\\Omega "}, {0x03B1, "", "\\alpha "}, {0x03B2, "", "\\beta "},
    {0x03B3, "", "\\gamma "}, {0x03B4, "", "\\delta "}, {0x03B5, "", "\\varepsilon "}, {0x03B6, "", "\\zeta "},
    {0x03B7, "", "\\eta "}, {0x03B8, "", "\\theta "}, {0x03B9, "", "\\iota "}, {0x03BA, "", "\\kappa "},
    {0x03BB, "", "\\lambda "}, {0x03BC, "", "\\mu "}, {0x03BD, "", "\\nu "}, {0x03BE, "", "\\xi "},
    {0x03C1, "", "\\rho "}, {0x03C3, "", "\\sigma "}, {0x03C4, "", "\\tau "}, {0x03C6, "", "\\varphi "},
    {0x03C7, "", "\\chi "}, {0x03C8, "", "\\psi "}, {0x03C9, "", "\\omega "}, {0x03D5, "", "\\phi "},
    {0x2032, "", "\\prime "}, {0x2033, "", "\\prime \\prime "}, {0x2102, "", "\\mathbb{C}"},
    {0x2112, "", "\\mathcal{L}"}, {0x2115, "", "\\mathbb{N}"}, {0x211A, "", "\\mathbb{Q}"},
    {0x211D, "", "\\mathbb{R}"}, {0x2124, "", "\\mathbb{Z}"}, {0x2131, "", "\\mathcal{F}"},
    {0x2192, "", "\\rightarrow "}, {0x21D2, "", "\\Rightarrow "}, {0x21D4, "", "\\Leftrightarrow "},
    {0x2200, "", "\\forall "}, {0x2203, "", "\\exists "}, {0x2205, "", "\\emptyset "}, {0x2207, "", "\\nabla "},
    {0x2208, "", "\\in "}, {0x2209, "", "\\notin "}, {0x221D, "", "\\propto "}, {0x2227, "", "\\wedge "},
    {0x2228, "", "\\vee "}, {0x2229, "", "\\cap "}, {0x222A, "", "\\cup "}, {0x222B, "", "\\int "},
    {0x2234, "", "\\therefore "}, {0x2245, "", "\\cong "}, {0x2248, "", "\\approx "}, {0x2261, "", "\\equiv "},
    {0x2264, "", "\\leq "}, {0x2265, "", "\\geq "}, {0x226A, "", "\\ll "}, {0x226B, "", "\\gg "},
    {0x2282, "", "\\subset "}, {0x2283, "", "\\supset "}, {0x2284, "", "\\not\\subset "},
    {0x2286, "", "\\subseteq "}, {0x2287, "", "\\supseteq "}, {0x2295, "", "\\oplus "},
    {0x2297, "", "\\otimes "}, {0x22A5, "", "\\perp "}, {0x22C5, "", "\\cdot "}, {0x22EE, "", "\\vdots "},
    {0x22EF, "", "\\cdots "}, {0x22F1, "", "\\ddots "}, {0x25B3, "", "\\triangle "},
};

// Text forms of the table that name commands of mathematics only.
constexpr std::array<std::string_view, 14> kMathOnlyTextCommands = {
    "\\dagger", "\\bullet", "\\pm", "\\leq", "\\geq", "\\mu", "\\delta",
    "\\Sigma", "\\Pi", "\\pi", "\\smallint", "\\Omega", "\\Delta", "\\partial",
};

const UnicodeForm* FindUnicode(char32_t ch)
{
    for (const UnicodeForm& form : kUnicodeForms)
        if (form.ch == ch)
            return &form;
    for (const UnicodeForm& form : kMathOnlyForms)
        if (form.ch == ch)
            return &form;
    return nullptr;
}

bool HasRawHighByte(std::string_view tex)
{
    for (char c : tex)
        if (static_cast<unsigned char>(c) >= 128)
            return true;
    return false;
}

// Accents and letters of text fonts, which mathematics takes only in a box.
constexpr std::array<std::string_view, 22> kTextOnlyMarks = {
    "\\~", "\\^", "\\\"", "\\'", "\\`", "\\.", "\\c{", "\\b{", "\\v{", "\\=", "\\u{", "\\H{",
    "\\ss", "\\AE", "\\ae", "\\OE", "\\oe", "\\O ", "\\o ", "\\copyright", "?`", "!`",
};

bool NeedsTextBox(std::string_view tex)
{
    if (tex.starts_with("\\mbox"))
        return false;
    for (std::string_view mark : kTextOnlyMarks)
        if (tex.find(mark) != std::string_view::npos)
            return true;
    return false;
}

// The text between two delimiters, built by appending.
std::string Enclosed(std::string_view open, std::string_view text, std::string_view close)
{
    std::string out;
    out.reserve(open.size() + text.size() + close.size());
    out.append(open).append(text).append(close);
    return out;
}

std::string SafeAlways(std::string_view tex, bool math)
{
    return CharTable::TeXSafeAlways(tex, math);
}

// The form of a code by what it shows in the face of its character set.
std::string UnicodeFallback(uint8_t code, int charSet, bool math)
{
    const UnicodeForm* form = FindUnicode(TextCodec::ToUnicode(code, charSet));
    if (!form)
        return math ? "\\mbox{?}" : "?";
    if (math)
        return *form->math ? form->math : Enclosed("\\mbox{", form->text, "}");
    return *form->text ? form->text : Enclosed("$", form->math, "$");
}

}  // namespace

namespace LaTeXCharForms {

uint8_t StoredCode(uint8_t code, int charSet)
{
    return charSet == SYMBOL_CHARSET ? gWriterSymbolMap[code] : gWriterPlainMap[code];
}

// Above ASCII what the face shows decides, where it has a form: the table's
// texts there are in places those of another character set (its 243, the
// partial sign, is the text faces' U with a circumflex) or of another variant
// (its epsilon and phi are the shapes the faces do not show).
std::string TextForm(uint8_t code, int charSet)
{
    if (code >= 128 && FindUnicode(TextCodec::ToUnicode(code, charSet)))
        return UnicodeFallback(code, charSet, false);
    const uint8_t stored = StoredCode(code, charSet);
    std::string_view tex = CharTable::GetTeX(stored, false);
    // The text fonts show other glyphs at these positions.
    if (code == '<' || code == '>' || code == '|')
        return Enclosed("$", std::string(1, static_cast<char>(code)), "$");
    std::string_view command = tex;
    if (command.ends_with(' '))
        command.remove_suffix(1);
    for (std::string_view mathOnly : kMathOnlyTextCommands)
        if (command == mathOnly)
            return Enclosed("$", mathOnly, "$");
    if (HasRawHighByte(tex))
        return UnicodeFallback(code, charSet, false);
    if (tex.empty()) {
        std::string_view math = CharTable::GetTeX(stored, true);
        if (math.empty() || HasRawHighByte(math))
            return "";
        return Enclosed("$", math, "$");
    }
    return SafeAlways(tex, false);
}

std::string MathForm(uint8_t code, int charSet)
{
    if (code >= 128 && FindUnicode(TextCodec::ToUnicode(code, charSet)))
        return UnicodeFallback(code, charSet, true);
    std::string_view tex = CharTable::GetTeX(StoredCode(code, charSet), true);
    if (HasRawHighByte(tex))
        return UnicodeFallback(code, charSet, true);
    if (NeedsTextBox(tex))
        return Enclosed("\\mbox{", SafeAlways(tex, false), "}");
    // Nothing at all would leave "$$" where mathematics in text holds only
    // this character, which opens display mathematics.
    if (tex.empty())
        return "{}";
    return SafeAlways(tex, true);
}

std::string VerbatimForm(uint8_t code)
{
    if (code == ' ' || code == '\t')
        return "~";
    if (code < 32)
        return "?";
    // Above ASCII the text forms. The typewriter face has no dashes or
    // curly quotes (it joins no ligatures) and its circumflex and tilde are
    // the ASCII signs: forms built of those take the roman face.
    if (code >= 127) {
        const std::string form = TextForm(code, ANSI_CHARSET);
        for (std::string_view mark : {"\\^", "\\~", "--", "``", "''"})
            if (form.find(mark) != std::string::npos)
                return Enclosed("{\\rm ", form, "}");
        return form;
    }
    // The specials, and the grave accent that would join "!" or "?" before
    // it into one glyph.
    if (std::string_view("\\{}$&#^_~%`").find(static_cast<char>(code)) != std::string_view::npos)
        return "\\char" + std::to_string(code) + "{}";
    return std::string(1, static_cast<char>(code));
}

std::string ArgumentForm(uint8_t code)
{
    switch (code) {
    case '\\': return "\\textbackslash{}";
    case '{': return "\\{";
    case '}': return "\\}";
    case '%': return "\\%";
    case '#': return "\\#";
    case '&': return "\\&";
    case '$': return "\\$";
    case '_': return "\\_";
    case '^': return "\\^{}";
    case '~': return "\\~{}";
    default:
        if (code < 32 || code == 127)
            return "";
        return code < 128 ? std::string(1, static_cast<char>(code)) : "?";
    }
}

}  // namespace LaTeXCharForms
