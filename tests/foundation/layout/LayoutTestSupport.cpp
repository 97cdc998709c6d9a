#include "LayoutTestSupport.h"

#include "foundation/ComponentFactory.h"
#include "foundation/LayoutItemMaker.h"
#include "foundation/ParagraphStyle.h"
#include "foundation/SizeStepScope.h"
#include "foundation/TextLayoutItemMaker.h"

#include <cstdio>

LayoutTest::LayoutTest()
{
    gStyleTable = &styles;
    LayoutItemMaker::Install(&TextLayoutItemMaker::Instance());
    RegisterComponentClasses();
    image.fill(Qt::white);
    SetImageDpi(image, 96);
    dc = std::make_unique<CImageDC>(image);
    gDrawContext.BeginDrawOnDC(&target, dc.get());
}

LayoutTest::~LayoutTest()
{
    UnwindDrawContext();
}

std::unique_ptr<CompArray> LayoutTest::Chars(const std::string& text, int fontId)
{
    auto array = std::make_unique<CompArray>();
    for (char c : text)
        array->Append(fonts.GetFace(fontId)->GetCharacter(static_cast<unsigned char>(c)));
    return array;
}

ParagraphComp* LayoutTest::Paragraph(int kind, const std::string& text)
{
    return new ParagraphComp(Chars(text, styles.GetStyle(kind)->GetFontId()), kind);
}

void LayoutTest::LayOut(ParagraphComp& paragraph, ParagraphComp* previous)
{
    paragraph.Layout(previous);
    paragraph.SetOrigin(IntPoint(LeftMargin(), TopMargin()));
}

std::vector<std::string> LayoutTest::Items(const CompList& row)
{
    std::vector<std::string> out;
    for (int i = 1; row.GetItems() && i <= row.GetItems()->GetCount(); ++i) {
        Layout* item = row.GetItems()->GetAt(i);
        char tag[5];
        item->Tag().ToChars(tag);
        Rect r = item->AbsRect();
        char text[80];
        std::snprintf(text, sizeof text, "%s@%d:%d-%d", tag, int(item->GetStartIndex()), int(r.left), int(r.right));
        out.emplace_back(text);
    }
    return out;
}

std::vector<Layout*> LayoutTest::ItemsOf(const CompList& row, TypeTag tag)
{
    std::vector<Layout*> out;
    for (int i = 1; row.GetItems() && i <= row.GetItems()->GetCount(); ++i)
        if (row.GetItems()->GetAt(i)->Tag() == tag)
            out.push_back(row.GetItems()->GetAt(i));
    return out;
}

int LayoutTest::Width(const std::string& text, int fontId, int step)
{
    SizeStepScope size(step);
    gDrawContext.SetFontFamily(fontId);
    return gDrawContext.GetStringWidth(Str255(text.c_str()));
}

void FixedBox::Draw()
{
    ++draws;
    Rect box;
    GetAbsBounds(box);
    gDrawContext.FrameRectColor(box, RGB(0, 0, 0));
}
