#include "support/export/MathFaceTextDocument.h"

#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/ComponentFactory.h"
#include "foundation/FontFace.h"
#include "foundation/FontIds.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/RowNodeBuilder.h"
#include "foundation/TextLayoutItemMaker.h"
#include "kernel/KernelRowBuilder.h"
#include "math/CrossRefComp.h"
#include "math/ExponentComp.h"
#include "math/FractionComp.h"
#include "math/HyperlinkComp.h"
#include "math/MathComponents.h"
#include "platform/draw/TextCodec.h"

namespace {

constexpr int kPlain = 3;
constexpr int kNumbered = 4;
constexpr int kEquation = 5;

} // namespace

const std::vector<MathFaceTextRow>& MathFaceTextDocument::Rows()
{
    static const std::vector<MathFaceTextRow> kRows = {
        {"a blank after a link", "Links: <a href=\"js.html\">JS</a> <a href=\"data.html\">DATA</a>",
         "\"Links: JS DATA\"", "Links: JS DATA"},
        {"words between links", "DATA</a> and <a href=\"c.html\">C</a>.", "\"Links: JS DATA and C.\"",
         "Links: JS DATA and C."},
        {"a period and a word after a reference", "See (7). Next", "\"See (7). Next\"", "See (7). Next"},
        // Words with an "i", which a formula would read as the imaginary unit.
        {"words after a reference", "Equation (1) gives the area.", "\"Equation (1) gives the area.\"",
         "Equation (1) gives the area."},
        {"a lone arrow in a sentence", "Then &#8594; done", "\"Then \\[RightArrow] done\"", "Then \u2192 done"},
        // LaTeX must not read the bracket as the item's own label.
        {"an item that starts with a bracket", "<li>\n[draft] first item", "\"[draft] first item\"",
         "1. [draft] first item"},
        {"an equation of one blank", "<math xmlns=\"http://www.w3.org/1998/Math/MathML\">\n  </math>",
         "Cell[\"\", \"DisplayFormula\"", ""},
        // The script squares the whole fraction, which the page brackets.
        {"a fraction squared in a sentence", "<msup>\n      <mrow>\n        <mo>(</mo>\n        <mfrac>",
         "\"Then \",\nCell[BoxData[BOX],\"Output\"],\n\" done\"", ""},
    };
    return kRows;
}

MathFaceTextDocument::MathFaceTextDocument()
{
    InstallTextLayout();
    RegisterComponentClasses();
    RegisterMathComponents();
    RowNodeBuilder::Install(&KernelRowBuilder::Instance());
    m_paragraphs = std::make_unique<ParagraphList>();

    auto* links = new ParagraphComp(kPlain);
    Append(*links, "Links: ", FontId::kText);
    links->GetRow()->Append(new HyperlinkComp(Str255("js.html"), Str255("JS"), true));
    Append(*links, " ", FontId::kMath);
    links->GetRow()->Append(new HyperlinkComp(Str255("data.html"), Str255("DATA"), true));
    m_paragraphs->Append(links);

    auto* between = new ParagraphComp(kPlain);
    Append(*between, "Links: ", FontId::kText);
    between->GetRow()->Append(new HyperlinkComp(Str255("js.html"), Str255("JS"), true));
    Append(*between, " ", FontId::kMath);
    between->GetRow()->Append(new HyperlinkComp(Str255("data.html"), Str255("DATA"), true));
    Append(*between, " and ", FontId::kMath);
    between->GetRow()->Append(new HyperlinkComp(Str255("c.html"), Str255("C"), true));
    Append(*between, ".", FontId::kMath);
    m_paragraphs->Append(between);

    auto* reference = new ParagraphComp(kPlain);
    Append(*reference, "See ", FontId::kText);
    reference->GetRow()->Append(new CrossRefComp(7, Str31("(7)")));
    Append(*reference, ". Next", FontId::kMath);
    m_paragraphs->Append(reference);

    auto* words = new ParagraphComp(kPlain);
    Append(*words, "Equation ", FontId::kText);
    words->GetRow()->Append(new CrossRefComp(1, Str31("(1)")));
    Append(*words, " gives the area.", FontId::kMath);
    m_paragraphs->Append(words);

    auto* arrow = new ParagraphComp(kPlain);
    Append(*arrow, "Then ", FontId::kText);
    Append(*arrow, std::string(1, char(TextCodec::FromUnicode(U'\u2192', SYMBOL_CHARSET))), FontId::kMath);
    Append(*arrow, " done", FontId::kText);
    m_paragraphs->Append(arrow);

    auto* item = new ParagraphComp(kNumbered);
    Append(*item, "[draft] first item", FontId::kText);
    m_paragraphs->Append(item);

    auto* blank = new ParagraphComp(kEquation);
    Append(*blank, " ", FontId::kMath);
    m_paragraphs->Append(blank);

    auto* squared = new ParagraphComp(kPlain);
    Append(*squared, "Then ", FontId::kText);
    const auto digit = [&](char c) {
        auto items = std::make_unique<CompArray>();
        items->Append(m_fonts.GetFace(FontId::kMath)->GetCharacter(static_cast<unsigned char>(c)));
        return items;
    };
    squared->GetRow()->Append(new FractionComp(digit('2'), digit('3')));
    squared->GetRow()->Append(new ExponentComp(digit('2')));
    Append(*squared, " done", FontId::kText);
    m_paragraphs->Append(squared);
}

MathFaceTextDocument::~MathFaceTextDocument()
{
    m_paragraphs.reset();
    RowNodeBuilder::Install(nullptr);
}

void MathFaceTextDocument::Append(ParagraphComp& paragraph, const std::string& text, int fontId)
{
    FontFace* face = m_fonts.GetFace(fontId);
    for (unsigned char c : text)
        paragraph.GetRow()->Append(face->GetCharacter(c));
}

ParagraphComp* MathFaceTextDocument::AppendBadFormula()
{
    auto* paragraph = new ParagraphComp(kPlain);
    Append(*paragraph, "So ", FontId::kText);
    Append(*paragraph, "(a+ ", FontId::kMath);
    Append(*paragraph, "ok", FontId::kText);
    m_paragraphs->Append(paragraph);
    return paragraph;
}
