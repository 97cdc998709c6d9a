#include "support/math/MathTestSupport.h"

#include "foundation/CountingStream.h"
#include "foundation/DocPosition.h"
#include "foundation/DocReader.h"
#include "foundation/DrawContext.h"
#include "foundation/Layout.h"
#include "foundation/MemoryStream.h"
#include "foundation/ParagraphStyle.h"
#include "foundation/TextOutBuffer.h"
#include "math/CalculusComponents.h"
#include "math/FractionAndDelimiterComponents.h"
#include "support/model/ArchiveStore.h"

#include <cctype>
#include <cmath>
#include <stdexcept>

namespace {

// One character in its own face.
class CharItem : public Layout {
public:
    CharItem(CompList* row, int32_t index, unsigned char code, int fontId)
        : Layout(index), m_row(row), m_code(code), m_fontId(fontId)
    {
    }
    void Measure() override
    {
        const int saved = gDrawContext.GetFontFamily();
        gDrawContext.SetFontFamily(m_fontId);
        Str255 text;
        text.AppendChar(static_cast<char>(m_code));
        gDrawContext.GetTextExtent(text, m_rect);
        gDrawContext.SetFontFamily(saved);
        m_measured = m_rect;
    }
    void Draw() override
    {
        const int saved = gDrawContext.GetFontFamily();
        gDrawContext.SetFontFamily(m_fontId);
        gDrawContext.MoveTo(IntPoint(AbsRect().left, m_offset.y));
        gDrawContext.DrawChar(m_code);
        gDrawContext.SetFontFamily(saved);
    }
    void PositionAt(const IntPoint& point, DocPosition& out, bool nearest) override
    {
        Rect r = AbsRect();
        bool after = nearest ? point.x > (r.left + r.right) / 2 : point.x > r.right;
        out = DocPosition(m_row, GetStartIndex() + (after ? 1 : 0));
    }
    TextComp* ComponentAt(const IntPoint&) override { return m_row->GetAt(GetStartIndex()); }
    void GetTag(TypeTag& out) const override { out = tag_word; }

private:
    CompList* m_row;
    unsigned char m_code;
    int m_fontId;
};

class StructItem : public Layout {
public:
    StructItem(TextComp* comp, int32_t index) : Layout(index), m_comp(comp) {}
    void Measure() override
    {
        if (m_comp->IsDirty())
            m_comp->Measure();
        m_comp->GetBounds(m_rect);
        m_measured = m_rect;
    }
    void MoveTo(const IntPoint& p) override
    {
        Layout::MoveTo(p);
        m_comp->SetOrigin(IntPoint(p.x - m_rect.left, p.y));
    }
    void Draw() override { m_comp->Draw(); }
    void PositionAt(const IntPoint& point, DocPosition& out, bool nearest) override
    {
        m_comp->PositionFromPoint(out, point, nearest);
    }
    TextComp* ComponentAt(const IntPoint& point) override { return m_comp->ComponentAt(point); }
    void GetTag(TypeTag& out) const override { out = tag_strL; }

private:
    TextComp* m_comp;
};

class BoxItem : public Layout {
public:
    explicit BoxItem(Rect box) : m_box(box) {}
    void Measure() override { m_rect = m_measured = m_box; }
    void GetTag(TypeTag& out) const override { out = tag_plac; }

private:
    Rect m_box;
};

class TestStyle : public ParagraphStyle {
public:
    explicit TestStyle(int kind) : m_kind(kind) {}
    int GetKind() const override { return m_kind; }
    int GetFontId() const override { return m_kind == 5 || m_kind == 6 ? 3 : 0; }
    signed char GetSizeStep(const ParagraphComp*) const override { return 0; }
    void Layout(ParagraphComp& paragraph, ParagraphComp*, int left, int right) override
    {
        paragraph.GetRow()->InvalidateAll();
        paragraph.GetRow()->Layout(right - left);
    }
    void Place(ParagraphComp& paragraph, const IntPoint& point) override
    {
        CompList* row = paragraph.GetRow();
        row->SetOrigin(point);
        paragraph.SetBounds(row->GetRect());
    }
    EquationLabel* MakeLabel(ParagraphComp&) override { return nullptr; }
    void CounterStep(EquationNumber&) const override {}

private:
    int m_kind;
};

StyleTable::Styles TestStyles()
{
    StyleTable::Styles styles;
    for (int i = 0; i < StyleTable::kStyleCount; ++i)
        styles[size_t(i)] = std::make_unique<TestStyle>(i);
    return styles;
}

class StringStream : public ByteStream {
public:
    void Write(const void* buf, int32_t n) override { text.append(static_cast<const char*>(buf), size_t(n)); }
    int32_t GetLength() override { return int32_t(text.size()); }
    std::string text;
};

} // namespace

int InkIn(const QImage& image, QRect area)
{
    area = area.intersected(image.rect());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                ++count;
    return count;
}

int InkIn(const QImage& image, const Rect& area)
{
    return InkIn(image, QRect(area.left, area.top, area.Width(), area.Height()));
}

// ---- RealItemMaker ----

Layout* RealItemMaker::MakePlaceholder(CompList*, int show)
{
    return new BoxItem(show ? gDrawContext.GetEmBox() : Rect());
}

Layout* RealItemMaker::MakeGray(CompList*)
{
    return new BoxItem(gDrawContext.GetEmBox());
}

Layout* RealItemMaker::MakeStruct(TextComp* comp, int32_t index)
{
    return new StructItem(comp, index);
}

Layout* RealItemMaker::MakeWord(CompList* row, int32_t index, unsigned char code, int fontId)
{
    return new CharItem(row, index, code, fontId);
}

Layout* RealItemMaker::MakeNonAlpha(CompList* row, int32_t index, unsigned char code, int fontId)
{
    return new CharItem(row, index, code, fontId);
}

Layout* RealItemMaker::MakeSpace(CompList* row, int32_t index, unsigned char code, int fontId)
{
    return new CharItem(row, index, code, fontId);
}

Layout* RealItemMaker::MakeTab(CompList* row, int32_t index, unsigned char code, int fontId)
{
    return new CharItem(row, index, code, fontId);
}

// ---- RecordingLaTeX ----

void RecordingLaTeX::WriteChar(TextComp& comp, bool)
{
    if (comp.Tag() == tag_Char)
        log += char(comp.GetChar());
    else
        comp.WriteLaTeX(*this);
}

// ---- MathTest ----

MathTest::MathTest()
    : styles(std::make_unique<StyleTable>(TestStyles())), image(800, 400, QImage::Format_RGB32)
{
    gStyleTable = styles.get();
    LayoutItemMaker::Install(&maker);
    RegisterFractionAndDelimiterComponents();
    RegisterCalculusComponents();
    image.fill(Qt::white);
    SetImageDpi(image, 96);
    dc = std::make_unique<CImageDC>(image);
    gDrawContext.BeginDrawOnDC(nullptr, dc.get());
    gDrawContext.SetBaseSize(DrawContext::kDefaultBaseSize);
    gDrawContext.SetFontFamily(0);
}

MathTest::~MathTest()
{
    UnwindDrawContext();
}

std::unique_ptr<CompArray> MathTest::Chars(const std::string& text, int fontId)
{
    auto array = std::make_unique<CompArray>();
    for (char c : text)
        array->Append(fonts.GetFace(fontId)->GetCharacter(static_cast<unsigned char>(c)));
    return array;
}

std::unique_ptr<CompArray> MathTest::One(TextComp* comp)
{
    auto array = std::make_unique<CompArray>();
    array->Append(comp);
    return array;
}

std::unique_ptr<CompArray> MathTest::Items(std::initializer_list<TextComp*> comps)
{
    auto array = std::make_unique<CompArray>();
    for (TextComp* comp : comps)
        array->Append(comp);
    return array;
}

std::unique_ptr<ParagraphComp> MathTest::Paragraph(int style, std::unique_ptr<CompArray> comps)
{
    auto paragraph = std::make_unique<ParagraphComp>(std::move(comps), style);
    Place(*paragraph);
    return paragraph;
}

void MathTest::Place(ParagraphComp& paragraph) const
{
    paragraph.GetStyle()->Layout(paragraph, nullptr, 0, 2000);
    paragraph.GetStyle()->Place(paragraph, paragraphOrigin);
}

std::string MathTest::LaTeX(TextComp& comp)
{
    RecordingLaTeX writer;
    comp.WriteLaTeX(writer);
    return writer.log;
}

std::string MathTest::LinearText(const TextComp& comp)
{
    StringStream stream;
    TextOutBuffer out(&stream);
    comp.WriteText(out);
    out.Flush();
    return stream.text;
}

std::string MathTest::RowText(const CompList& row)
{
    Str255 text;
    row.GetPlainText(text);
    return std::string(text.GetPtrAt(0), size_t(text.GetLength()));
}

std::vector<uint8_t> MathTest::WriteRow(const CompList& row)
{
    return StoreArchive([&row](DocWriter& writer) { row.Write(writer); });
}

std::unique_ptr<CompList> MathTest::ReadRow(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> copy = bytes;
    MemoryStream stream(copy.data(), static_cast<int32_t>(copy.size()));
    DocReader reader(&stream);
    auto row = std::make_unique<CompList>();
    row->Read(reader);
    return row;
}
