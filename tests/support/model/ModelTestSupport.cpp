#include "support/model/ModelTestSupport.h"

#include "foundation/ComponentFactory.h"
#include "foundation/CountingStream.h"
#include "foundation/DocPosition.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/MemoryStream.h"
#include "support/model/ArchiveStore.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int kCharWidth = 10;

// A run of characters accepted by a predicate, 10 units per character.
class TestRun : public Layout {
public:
    TestRun(TypeTag tag, CompList* row, int32_t index, unsigned char code, int fontId, bool (*accepts)(unsigned char))
        : Layout(index), m_tag(tag), m_row(row), m_fontId(fontId), m_accepts(accepts)
    {
        m_text.push_back(code);
    }
    bool CanAppend(unsigned char code, int fontId) override
    {
        if (fontId != m_fontId || m_text.size() >= 31 || !m_accepts(code))
            return false;
        m_text.push_back(code);
        return true;
    }
    bool IsCharacterRun() const override { return true; }
    void Measure() override { m_rect = m_measured = Rect(0, -8, kCharWidth * int(m_text.size()), 2); }
    void PositionAt(const IntPoint& point, DocPosition& out, bool nearest) override
    {
        int x = point.x - AbsRect().left;
        int i = std::clamp((x + (nearest ? kCharWidth / 2 : 0)) / kCharWidth, 0, int(m_text.size()));
        out = DocPosition(m_row, GetStartIndex() + i);
    }
    TextComp* ComponentAt(const IntPoint& point) override
    {
        int i = std::clamp((point.x - AbsRect().left) / kCharWidth, 0, int(m_text.size()) - 1);
        return m_row->GetAt(GetStartIndex() + i);
    }
    bool ContainsIndex(int32_t index) const override { return index >= GetStartIndex() && index < EndIndex(); }
    int32_t EndIndex() const override { return GetStartIndex() + int32_t(m_text.size()); }
    void GetTag(TypeTag& out) const override { out = m_tag; }
    void GetAbsRect(int32_t index, Rect& out) const override
    {
        // The box of the character at the index.
        out = AbsRect();
        out.left += kCharWidth * std::clamp(index - GetStartIndex(), 0, int(m_text.size()) - 1);
        out.right = out.left + kCharWidth;
    }

private:
    TypeTag m_tag;
    CompList* m_row;
    int m_fontId;
    bool (*m_accepts)(unsigned char);
    std::vector<unsigned char> m_text;
};

class TestBox : public Layout {
public:
    TestBox(TypeTag tag, Rect box) : Layout(1), m_tag(tag), m_box(box) {}
    void Measure() override { m_rect = m_measured = m_box; }
    void GetTag(TypeTag& out) const override { out = m_tag; }

private:
    TypeTag m_tag;
    Rect m_box;
};

class TestStruct : public Layout {
public:
    TestStruct(TextComp* comp, int32_t index) : Layout(index), m_comp(comp) {}
    void Measure() override
    {
        m_comp->Measure();
        m_comp->GetBounds(m_rect);
        m_measured = m_rect;
    }
    void MoveTo(const IntPoint& p) override
    {
        Layout::MoveTo(p);
        m_comp->SetOrigin(IntPoint(p.x - m_rect.left, p.y));
    }
    TextComp* ComponentAt(const IntPoint& point) override { return m_comp->ComponentAt(point); }
    void GetTag(TypeTag& out) const override { out = tag_strL; }

private:
    TextComp* m_comp;
};

bool IsLetter(unsigned char c)
{
    return std::isalpha(c) != 0;
}
bool IsSpace(unsigned char c)
{
    return c == ' ';
}
bool IsTab(unsigned char c)
{
    return c == '\t';
}
bool IsOther(unsigned char c)
{
    return !IsLetter(c) && !IsSpace(c) && !IsTab(c);
}

} // namespace

// ---- TestStyle ----

int TestStyle::GetFontId() const
{
    static const int fonts[] = {2, 2, 2, 0, 0, 3, 3, 4, 0, 0, 0};
    return fonts[m_kind];
}

void TestStyle::Layout(ParagraphComp& paragraph, ParagraphComp*, int left, int right)
{
    paragraph.GetRow()->InvalidateAll();
    paragraph.GetRow()->Layout(right - left);
}

void TestStyle::Place(ParagraphComp& paragraph, const IntPoint& point)
{
    CompList* row = paragraph.GetRow();
    row->SetOrigin(IntPoint(point.x, point.y + 10));
    paragraph.SetBounds(Rect(0, 0, 500, kHeight * (1 + row->GetCount() / 10)));
}

EquationLabel* TestStyle::MakeLabel(ParagraphComp&)
{
    bool numbered = m_kind == 1 || m_kind == 4 || m_kind == 6 || m_kind == 9;
    return numbered ? new TestLabel : nullptr;
}

void TestLabel::Update(EquationNumber& counters)
{
    equation = ++counters.equation;
}

Str255 TestLabel::GetText() const
{
    Str255 text("(");
    text.AppendNumber(equation);
    text.AppendChar(')');
    return text;
}

// ---- TestItemMaker ----

Layout* TestItemMaker::MakePlaceholder(CompList*, int show)
{
    return new TestBox(tag_plac, show ? Rect(0, -10, 10, 0) : Rect());
}

Layout* TestItemMaker::MakeGray(CompList*)
{
    return new TestBox(tag_gray, Rect(0, -10, 40, 0));
}

Layout* TestItemMaker::MakeStruct(TextComp* comp, int32_t index)
{
    return new TestStruct(comp, index);
}

Layout* TestItemMaker::MakeWord(CompList* row, int32_t index, unsigned char code, int fontId)
{
    return new TestRun(tag_word, row, index, code, fontId, IsLetter);
}

Layout* TestItemMaker::MakeNonAlpha(CompList* row, int32_t index, unsigned char code, int fontId)
{
    return new TestRun(tag_nonA, row, index, code, fontId, IsOther);
}

Layout* TestItemMaker::MakeSpace(CompList* row, int32_t index, unsigned char code, int fontId)
{
    return new TestRun(tag_spcL, row, index, code, fontId, IsSpace);
}

Layout* TestItemMaker::MakeTab(CompList* row, int32_t index, unsigned char code, int fontId)
{
    return new TestRun(tag_tabL, row, index, code, fontId, IsTab);
}

// ---- TestFraction ----

TestFraction::TestFraction() : m_second(new CompList)
{
    AdoptRow(m_second);
}

TestFraction::TestFraction(std::unique_ptr<CompArray> top, std::unique_ptr<CompArray> bottom)
    : StructComp(std::move(top)), m_second(new CompList(std::move(bottom)))
{
    AdoptRow(m_second);
}

TestFraction::~TestFraction()
{
    delete m_second;
}

TextComp* TestFraction::Clone(LinkRemap& remap)
{
    return new TestFraction(m_first->CloneItems(remap), m_second->CloneItems(remap));
}

void TestFraction::Write(DocWriter& writer)
{
    m_first->Write(writer);
    m_second->Write(writer);
}

void TestFraction::Read(DocReader& reader)
{
    m_first->Read(reader);
    m_second->Read(reader);
    m_needsLayout = 1;
}

// ---- TestDocument ----

void TestDocument::RegisterParagraph(ParagraphComp& paragraph)
{
    paragraph.SetId(nextId++);
    registered[paragraph.GetId()] = &paragraph;
}

void TestDocument::UnregisterParagraph(ParagraphComp& paragraph)
{
    registered.erase(paragraph.GetId());
    paragraph.SetId(0);
}

// ---- ModelTest ----

namespace {

StyleTable::Styles TestStyles()
{
    StyleTable::Styles styles;
    for (int i = 0; i < StyleTable::kStyleCount; ++i)
        styles[size_t(i)] = std::make_unique<TestStyle>(i);
    return styles;
}

} // namespace

ModelTest::ModelTest() : styles(TestStyles())
{
    gStyleTable = &styles;
    LayoutItemMaker::Install(&maker);
    RegisterComponentClasses();
    ComponentRegistry::Register(tag_Frac, ComponentCodecFor<TestFraction>());
}

ModelTest::~ModelTest()
{
    ComponentRegistry::Unregister(tag_Frac);
}

std::unique_ptr<CompArray> ModelTest::Chars(const std::string& text, int fontId)
{
    auto array = std::make_unique<CompArray>();
    for (char c : text)
        array->Append(fonts.GetFace(fontId)->GetCharacter(static_cast<unsigned char>(c)));
    return array;
}

std::string ModelTest::Text(const CompList& row)
{
    std::string text;
    for (int i = 1; i <= row.GetCount(); ++i) {
        TextComp* comp = row.GetAt(i);
        if (comp->Tag() == tag_Char) {
            text += static_cast<char>(comp->GetChar());
        } else {
            char tag[5];
            comp->Tag().ToChars(tag);
            text += std::string("[") + tag + "]";
        }
    }
    return text;
}

std::string ModelTest::Text(const ParagraphList& list)
{
    std::string text;
    for (int i = 1; i <= list.GetCount(); ++i) {
        if (i > 1)
            text += '|';
        text += Text(*list.GetAt(i)->GetRow());
    }
    return text;
}

std::unique_ptr<ParagraphList> ModelTest::Paragraphs(const std::vector<std::string>& lines, DocumentModel* doc)
{
    auto list = std::make_unique<ParagraphList>(doc);
    for (const std::string& line : lines)
        list->Append(new ParagraphComp(Chars(line), 3));
    return list;
}

std::vector<uint8_t> ModelTest::Store(const std::function<void(DocWriter&)>& write)
{
    return StoreArchive(write);
}

std::vector<uint8_t> ModelTest::WriteRow(const CompList& row)
{
    return Store([&](DocWriter& w) { row.Write(w); });
}

std::vector<uint8_t> ModelTest::WriteList(const ParagraphList& list)
{
    return Store([&](DocWriter& w) { list.Write(w, false); });
}
