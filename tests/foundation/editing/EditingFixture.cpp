#include "EditingFixture.h"

#include "foundation/ComponentFactory.h"
#include "foundation/LayoutItemMaker.h"
#include "foundation/TextLayoutItemMaker.h"

#include <ostream>

EditingTest::EditingTest() : previousTable(gStyleTable)
{
    gStyleTable = &styles;
    LayoutItemMaker::Install(&TextLayoutItemMaker::Instance());
    RegisterComponentClasses();
    image.fill(Qt::white);
    SetImageDpi(image, 96);
    dc = std::make_unique<CImageDC>(image);
    gDrawContext.BeginDrawOnDC(&target, dc.get());
}

EditingTest::~EditingTest()
{
    list.DeleteAll();
    while (gDrawContext.GetDepth() > 0)
        gDrawContext.EndDraw();
    while (gDrawContext.GetSizeDepth() > 0)
        gDrawContext.PopSize();
    gDrawContext.SetFontFamily(0);
    gDrawContext.SetBaseSize(DrawContext::kDefaultBaseSize);
    LayoutItemMaker::Install(nullptr);
    gStyleTable = previousTable;
}

std::unique_ptr<CompArray> EditingTest::Chars(const std::string& text, int fontId)
{
    auto array = std::make_unique<CompArray>();
    for (char c : text)
        array->Append(fonts.GetFace(fontId)->GetCharacter(static_cast<unsigned char>(c)));
    return array;
}

std::unique_ptr<CompArray> EditingTest::Items(std::vector<TextComp*> comps)
{
    auto array = std::make_unique<CompArray>();
    for (TextComp* comp : comps)
        array->Append(comp);
    return array;
}

ParagraphComp* EditingTest::Add(int kind, std::unique_ptr<CompArray> comps)
{
    auto* paragraph = new ParagraphComp(std::move(comps), kind);
    list.Append(paragraph);
    return paragraph;
}

std::string Describe(const DocPosition& position)
{
    static const char* const kinds[] = {"none", "list", "line", "slot", "object"};
    std::string text = kinds[std::clamp(position.GetKind(), 0, 4)];
    text += "@" + std::to_string(position.GetIndex());
    if (position.GetKind() == DocPosition::kGridLine)
        text += position.GetFlag() ? "c" : "r";
    char address[32];
    std::snprintf(address, sizeof address, "/%p",
                  position.GetKind() == DocPosition::kListPlace ? static_cast<void*>(position.GetList())
                                                                : static_cast<void*>(position.GetObject()));
    return text + address;
}

std::string Describe(const DocSelection& selection)
{
    return "[" + Describe(selection.GetStart()) + " .. " + Describe(selection.GetEnd()) + "]";
}

void PrintTo(const DocPosition& position, std::ostream* out)
{
    *out << Describe(position);
}

void PrintTo(const DocSelection& selection, std::ostream* out)
{
    *out << Describe(selection);
}

bool operator==(const DocSelection& a, const DocSelection& b)
{
    return a.GetStart() == b.GetStart() && a.GetEnd() == b.GetEnd();
}
