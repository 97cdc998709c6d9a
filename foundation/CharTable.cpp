#include "foundation/CharTable.h"

#include <atomic>

namespace {

// Each code as a one-character text, for the entries that write themselves.
struct SingleCharacters {
    char text[256][2];
};

constexpr SingleCharacters MakeSingleCharacters()
{
    SingleCharacters singles{};
    for (int code = 0; code < 256; ++code) {
        singles.text[code][0] = static_cast<char>(code);
        singles.text[code][1] = '\0';
    }
    return singles;
}

constexpr SingleCharacters singles = MakeSingleCharacters();

constexpr const char* self = nullptr; // the entry's own character

struct Row {
    int code;
    int32_t kind;
    const char* textTeX;
    const char* mathTeX;
    int32_t kernelNameId;
};

// Every code with its own kind, TeX texts or kernel symbol; the rest follow
// the rule in BuildTable.
constexpr Row rows[] = {
    {1, 2, "", "\\Psi ", 85},
    {2, 2, "", "\\nabla ", 0},
    {4, 3, "", "\\in ", 0},
    {5, 2, "", "\\eta ", 40},
    {6, 2, "", "\\lambda ", 56},
    {9, 1, " ", " ", 0},
    {32, 1, self, self, 0},
    {33, 2, self, self, 42},
    {35, 2, "\\#", "\\#", 0},
    {36, 2, "\\$", "\\$", 0},
    {37, 2, "\\%", "\\%", 0},
    {38, 2, "\\&", "\\&", 0},
    {40, 2, self, self, 1},
    {41, 2, self, self, 2},
    {42, 2, self, self, 295},
    {43, 2, self, self, 3},
    {44, 2, self, self, 4},
    {45, 2, self, self, 5},
    {47, 2, self, self, 6},
    {60, 3, self, self, 57},
    {61, 3, self, self, 38},
    {62, 3, self, self, 47},
    {63, 2, self, self, 109},
    {91, 2, self, self, 7},
    {92, 2, "$\\backslash$", "\\backslash ", 0},
    {93, 2, self, self, 8},
    {94, 2, "\\^{ }", "\\mbox{\\^{ }}", 127},
    {95, 2, "\\_", "\\_", 0},
    {123, 2, "\\{", "\\{", 9},
    {125, 2, "\\}", "\\}", 10},
    {126, 2, "\\~{ }", "\\~{ }", 0},
    {127, 1, "", "", 0},
    {128, 3, "\\\"{A}", "\\supseteq ", 0},
    {129, 3, "\\.{A}", "\\supset ", 0},
    {130, 3, "\\c{C}", "\\not\\subset ", 0},
    {131, 3, "\\'{E}", "\\subset", 0},
    {132, 3, "\\~{N}", "\\subseteq ", 0},
    {133, 3, "\\\"{O}", "\\propto ", 0},
    {134, 2, "\\\"{U}", "\\cup ", 0},
    {135, 2, "\\'{a}", "\\cap ", 0},
    {136, 2, "\\`{a}", "\\perp ", 0},
    {137, 3, "\\^{a}", "\\cong ", 0},
    {138, 2, "\\\"{a}", "\\mathcal{F}", 282},
    {139, 2, "\\~{a}", "\\mathcal{L}", 284},
    {140, 2, "\\.{a}", "", 0},
    {141, 2, "??", "\\delta ", 29},
    {142, 2, "\\'{e}", "\\Pi ", 77},
    {143, 2, "\\`{e}", "", 0},
    {144, 2, "\\^{e}", "", 0},
    {145, 2, "\\\"{e}", "", 0},
    {146, 2, "\\'{i}", "\\wedge ", 0},
    {147, 2, "\\`{i}", "", 0},
    {148, 2, "\\^{i}", "\\vee ", 0},
    {149, 2, "\\\"{i}", "", 0},
    {150, 2, "\\~{n}", "\\tau ", 101},
    {151, 2, "\\'{o}", "\\psi ", 84},
    {152, 2, "\\`{o}", "\\prime \\prime ", 0},
    {153, 2, "\\^{o}", "\\nu ", 68},
    {154, 2, "\\\"{o}", "", 0},
    {155, 2, "\\~{o}", "\\Leftrightarrow ", 0},
    {156, 2, "\\'{u}", "", 0},
    {157, 2, "\\`{u}", "", 0},
    {158, 2, "\\^{u}", "\\Gamma ", 44},
    {159, 2, "\\\"{u}", "\\Xi ", 112},
    {160, 2, "\\dagger ", "\\Delta ", 30},
    {161, 2, self, "^{\\circ}", 0},
    {162, 2, "\\cents ", self, 0},
    {163, 2, self, "", 0},
    {164, 2, "\\S", "", 0},
    {165, 2, "\\bullet ", "", 0},
    {166, 2, "\\P ", "", 0},
    {167, 2, "\\ss ", "", 0},
    {168, 2, self, "", 0},
    {169, 2, "\\copyright ", "", 0},
    {170, 2, self, "", 0},
    {171, 2, self, "\\exists ", 0},
    {172, 2, self, "\\alpha ", 13},
    {173, 3, self, "\\neq ", 108},
    {174, 2, "\\AE ", "", 0},
    {175, 2, "\\O ", "\\emptyset ", 0},
    {176, 2, "$\\infty$", "\\infty ", 53},
    {177, 2, "\\pm ", "\\pm ", 79},
    {178, 3, "\\leq ", "\\leq ", 58},
    {179, 3, "\\geq ", "\\geq ", 48},
    {180, 2, self, "\\mathbb{N}", 297},
    {181, 2, "\\mu ", "\\mu ", 67},
    {182, 2, "\\delta ", "", 0},
    {183, 2, "\\Sigma ", "\\sum ", 0},
    {184, 2, "\\Pi ", "", 0},
    {185, 2, "\\pi ", "\\pi ", 76},
    {186, 2, "\\smallint ", "\\smallint ", 0},
    {187, 2, "\\b{a}", "\\mathbb{Z}", 298},
    {188, 2, "\\b{o}", "", 0},
    {189, 2, "\\Omega ", "\\Omega ", 71},
    {190, 2, "\\ae ", "", 0},
    {191, 2, "\\o ", "\\therefore", 0},
    {192, 2, "?`", "?`", 0},
    {193, 2, "!`", "!`", 0},
    {194, 2, self, "\\neg ", 0},
    {195, 2, self, "", 0},
    {196, 2, self, "\\phi ", 74},
    {197, 3, self, "\\approx ", 0},
    {198, 2, "\\Delta ", "\\triangle ", 0},
    {199, 2, self, "\\ll ", 0},
    {200, 2, self, "\\gg ", 0},
    {201, 2, "\\ldots", "\\ldots ", 0},
    {202, 2, "~", "~", 0},
    {203, 2, "\\`{A}", "\\otimes ", 0},
    {204, 2, "\\~{A}", "\\oplus ", 0},
    {205, 2, "\\~{O}", "", 0},
    {206, 2, "\\OE ", "\\Sigma ", 125},
    {207, 2, "\\oe ", "\\rightarrow ", 90},
    {208, 2, "--", "--", 0},
    {209, 2, "---", "---", 0},
    {210, 2, "``", "", 0},
    {211, 2, "''", "", 0},
    {212, 2, "`", "", 0},
    {213, 2, "'", "", 0},
    {214, 2, self, "\\div ", 6},
    {215, 2, self, "\\cdot", 302},
    {216, 2, "\\\"{y}", "\\kappa ", 55},
    {217, 3, self, "\\equiv ", 0},
    {218, 2, self, "\\times", 303},
    {219, 2, self, "\\sigma ", 92},
    {220, 2, self, "\\rho ", 88},
    {221, 2, self, "\\gamma ", 43},
    {222, 2, self, "", 0},
    {223, 2, self, "", 0},
    {224, 2, self, "\\beta ", 18},
    {225, 2, self, "\\prime ", 0},
    {226, 2, self, "\\Theta ", 104},
    {227, 2, self, "\\zeta ", 113},
    {228, 2, self, "\\mathbb{R}", 299},
    {229, 2, self, "\\mathbb{C}", 300},
    {230, 2, self, "\\forall ", 0},
    {231, 2, self, "", 0},
    {232, 2, self, "\\mathbb{Q}", 301},
    {233, 2, self, "\\epsilon ", 37},
    {234, 2, self, "\\omega ", 70},
    {235, 2, self, "\\varphi ", 110},
    {236, 2, self, "\\Phi ", 75},
    {237, 2, self, "\\xi ", 111},
    {238, 2, self, "\\not\\in ", 0},
    {239, 2, self, "\\theta ", 103},
    {240, 2, self, "", 0},
    {241, 2, self, "\\chi ", 20},
    {242, 2, self, "\\vdots ", 0},
    {243, 2, "\\partial", "\\partial", 0},
    {244, 2, self, "\\cdots", 0},
    {245, 2, self, "", 0},
    {246, 2, self, "\\iota", 124},
    {247, 2, self, "\\ddots", 0},
    {248, 2, self, "\\Rightarrow ", 0},
    {249, 2, self, "", 0},
    {250, 2, self, "", 0},
    {251, 2, self, "", 0},
    {252, 2, self, "\\Lambda ", 0},
    {253, 2, self, "", 0},
    {254, 2, self, "", 0},
    {255, 2, self, "", 0},
};

constexpr bool IsLetter(int code)
{
    return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
}

constexpr const char* Resolve(const char* tex, int code)
{
    return tex == self ? singles.text[code] : tex;
}

constexpr std::array<CharEntry, 256> BuildTable()
{
    std::array<CharEntry, 256> table{};
    for (int code = 0; code < 256; ++code) {
        const bool control = code == 0 || code == 3 || code == 7 || code == 8 || (code >= 10 && code <= 31);
        const char* tex = control ? "" : singles.text[code];
        table[code] = {IsLetter(code) ? CharTable::letter : CharTable::other, tex, tex, 0, static_cast<uint8_t>(code)};
    }
    for (const Row& row : rows) {
        CharEntry& entry = table[row.code];
        entry.kind = row.kind;
        entry.textTeX = Resolve(row.textTeX, row.code);
        entry.mathTeX = Resolve(row.mathTeX, row.code);
        entry.kernelNameId = row.kernelNameId;
    }
    return table;
}

constexpr bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Characters that TeX's text fonts join with the same following character
// into another glyph.
bool FormsLigature(char last, char next)
{
    return (last == '-' && next == '-') || (last == '`' && next == '`') || (last == '\'' && next == '\'') ||
           ((last == '?' || last == '!') && next == '`');
}

std::atomic<KernelNameLookup*> registeredNames{nullptr};

} // namespace

constinit const std::array<CharEntry, 256> gCharTable = BuildTable();

bool CharTable::EndsInCommandName(std::string_view tex)
{
    if (!tex.empty() && tex.back() == ' ')
        tex.remove_suffix(1);
    size_t letters = 0;
    while (letters < tex.size() && IsAsciiLetter(tex[tex.size() - 1 - letters]))
        ++letters;
    if (letters == 0 || letters == tex.size() || tex[tex.size() - 1 - letters] != '\\')
        return false;
    // "\\cdot" would be a line break followed by a word, not a command name.
    size_t backslashes = 0;
    for (size_t i = tex.size() - 1 - letters; i < tex.size() && tex[i] == '\\'; --i)
        ++backslashes;
    return backslashes % 2 == 1;
}

std::string CharTable::TeXSafeBefore(std::string_view tex, char next, bool mathMode)
{
    std::string safe(tex);
    if (safe.empty() || next == '\0')
        return safe;
    const bool trailingBlank = safe.back() == ' ';
    if (EndsInCommandName(tex)) {
        if (mathMode) {
            if (!trailingBlank && IsAsciiLetter(next))
                safe += ' ';
        } else if (IsAsciiLetter(next) || IsBlank(next)) {
            if (trailingBlank && IsBlank(next))
                safe.pop_back();
            if (!trailingBlank || IsBlank(next))
                safe += "{}";
        }
        return safe;
    }
    if (!mathMode && FormsLigature(safe.back(), next))
        safe += "{}";
    return safe;
}

std::string CharTable::TeXSafeAlways(std::string_view tex, bool mathMode)
{
    std::string safe(tex);
    if (safe.empty())
        return safe;
    if (EndsInCommandName(tex)) {
        if (mathMode) {
            if (safe.back() != ' ')
                safe += ' ';
        } else {
            if (safe.back() == ' ')
                safe.pop_back();
            safe += "{}";
        }
        return safe;
    }
    if (!mathMode && (safe.back() == '-' || safe.back() == '`' || safe.back() == '\'' || safe.back() == '?' ||
                      safe.back() == '!'))
        safe += "{}";
    return safe;
}

KernelNameLookup* KernelNameLookup::Registered()
{
    return registeredNames.load();
}

KernelNameLookup* KernelNameLookup::Register(KernelNameLookup* table)
{
    return registeredNames.exchange(table);
}
