#include "WriterFixture.h"

#include "foundation/CharComp.h"
#include "foundation/FontFace.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/RowNodeBuilder.h"
#include "foundation/TextLayoutItemMaker.h"
#include "kernel/KernelRowBuilder.h"
#include "math/MathComponents.h"

WriterFixture::WriterFixture()
{
    InstallTextLayout();
    RegisterMathComponents();
    RowNodeBuilder::Install(&KernelRowBuilder::Instance());
    paragraphs = std::make_unique<ParagraphList>();
}

WriterFixture::~WriterFixture()
{
    paragraphs.reset();
    RowNodeBuilder::Install(nullptr);
}

void WriterFixture::Append(CompList& row, const std::string& text, int fontId)
{
    FontFace* face = fonts.GetFace(fontId);
    for (unsigned char c : text)
        row.Append(face->GetCharacter(c));
}

ParagraphComp* WriterFixture::Paragraph(int style, const std::string& text, int fontId)
{
    auto* paragraph = new ParagraphComp(style);
    Append(*paragraph->GetRow(), text, fontId);
    paragraphs->Append(paragraph);
    return paragraph;
}

std::string WriterFixture::Page()
{
    StringStream page;
    XhtmlWriter writer(page, "Test", "page", nullptr);
    paragraphs->WriteMathML(writer);
    return page.text;
}
