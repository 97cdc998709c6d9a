#include "support/model/ModelTestSupport.h"

#include "foundation/DocPosition.h"
#include "foundation/DrawContext.h"
#include "foundation/DocReader.h"
#include "foundation/DocSelection.h"
#include "foundation/DrawTarget.h"
#include "foundation/MemoryStream.h"
#include "foundation/PageRecord.h"
#include "platform/draw/ImageDC.h"

#include <QImage>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

// A view over an image that records what is invalidated.
class RecordingView : public DrawTarget {
public:
    CDC* CreateTargetDC() override { return new CImageDC(image); }
    void PrepareTargetDC(CDC*) override {}
    IntPoint TargetScrollPosition() const override { return {}; }
    int TargetSizeLevel() const override { return DrawContext::kDefaultBaseSize; }
    void InvalidateTargetRect(const Rect& rect, bool) override { invalidated.push_back(rect); }
    void ShowTargetRect(const Rect&) override {}

    bool Covers(const Rect& area) const
    {
        for (const Rect& r : invalidated)
            if (r.left <= area.left && r.top <= area.top && r.right >= area.right && r.bottom >= area.bottom)
                return true;
        return false;
    }

    QImage image{600, 400, QImage::Format_RGB32};
    std::vector<Rect> invalidated;
};

struct Pages : PageRecord {
    void SetPageBreak(int page, int32_t y) override { breaks.push_back(y); }
    std::vector<int32_t> breaks;
};

} // namespace

class ParagraphLayoutTest : public ModelTest {
protected:
    ParagraphLayoutTest()
    {
        dc = std::make_unique<CImageDC>(view.image);
        gDrawContext.BeginDrawOnDC(&view, dc.get());
    }
    ~ParagraphLayoutTest() override { gDrawContext.EndDraw(); }

    RecordingView view;
    std::unique_ptr<CImageDC> dc;
};

TEST_F(ParagraphLayoutTest, IncrementalLayoutMovesAndInvalidatesOnlyWhatChanged)
{
    auto list = Paragraphs({"a", "b", "c"});
    list->UpdateLayout();
    const int left = gDrawContext.GetLeftMargin();
    const int top = gDrawContext.GetTopMargin();
    const int h = TestStyle::kHeight;

    // Paragraph 2 grows by one line: it is laid out and invalidated whole,
    // paragraph 3 only moves and is invalidated in its old and its new place.
    view.invalidated.clear();
    list->GetAt(2)->AppendString(Str255("0123456789"));
    EXPECT_FALSE(list->GetAt(3)->NeedsLayout());
    list->UpdateLayout();
    EXPECT_TRUE(view.Covers(Rect(left, top + h, left + 500, top + 3 * h)));
    EXPECT_TRUE(view.Covers(Rect(left, top + 2 * h, left + 500, top + 4 * h)));
    EXPECT_FALSE(view.Covers(Rect(left, top, left + 500, top + h)));
    EXPECT_EQ(list->GetAt(3)->GetRow()->GetOrigin().y, top + 3 * h + 10);
    list->RelayoutAll(true);
    EXPECT_EQ(list->GetHeight(), top + 4 * h);

    // It shrinks again: the band the document no longer covers is invalidated.
    view.invalidated.clear();
    list->GetAt(2)->GetRow()->RemoveFrom(2);
    list->UpdateLayout();
    EXPECT_EQ(list->GetHeight(), top + 3 * h);
    EXPECT_TRUE(view.Covers(Rect(left, top + 3 * h, gDrawContext.GetPageWidth(), top + 4 * h)));
    view.invalidated.clear();
    list->UpdateLayout();
    EXPECT_TRUE(view.invalidated.empty());

    // Hidden paragraphs take no room on a slide.
    list->GetAt(2)->Hide();
    list->StackVisible();
    EXPECT_EQ(list->GetHeight(), top + 2 * h);
    Rect third;
    list->GetAt(3)->GetAbsBounds(third);
    EXPECT_EQ(third.top, top + h);
}

TEST_F(ParagraphLayoutTest, PagesBreakBetweenParagraphsAndEveryPageInsideATallOne)
{
    const int page = gDrawContext.GetPrintableHeight();
    ASSERT_GT(page, 2 * TestStyle::kHeight);
    const int h = TestStyle::kHeight;

    std::vector<std::string> lines(size_t(page / h + 3), "x");
    auto list = Paragraphs(lines);
    Pages pages;
    list->Paginate(pages);
    ASSERT_EQ(pages.breaks.size(), 2u);
    EXPECT_EQ(pages.breaks[0], page / h * h);  // never inside a paragraph
    EXPECT_EQ(pages.breaks[1], pages.breaks[0] + page);
    EXPECT_EQ(list->GetHeight(), int(lines.size()) * h);
    Rect first;
    list->GetAt(1)->GetAbsBounds(first);
    EXPECT_EQ(first.top, 0);  // printing starts at the page's corner

    // One paragraph taller than three pages: a break every page height.
    auto tall = Paragraphs({std::string(size_t(10 * (3 * page / h + 1)), 'y')});
    Pages tallPages;
    tall->Paginate(tallPages);
    ASSERT_GE(tallPages.breaks.size(), 4u);
    for (size_t i = 0; i < tallPages.breaks.size(); ++i)
        EXPECT_EQ(tallPages.breaks[i], int32_t(i + 1) * page);
}

TEST_F(ParagraphLayoutTest, ClicksOutsideThePageArePulledOntoIt)
{
    auto list = Paragraphs({"abc"});
    list->UpdateLayout();
    Rect first = list->GetAt(1)->GetRow()->GetItems()->GetAt(1)->AbsRect();
    int y = first.top + 1;

    DocPosition position;
    list->PositionFromPoint(position, IntPoint(-1000, y), true);
    EXPECT_EQ(position.GetList(), list->GetAt(1)->GetRow());
    EXPECT_EQ(position.GetIndex(), 1);
    list->PositionFromPoint(position, IntPoint(100000, y), true);
    EXPECT_EQ(position.GetIndex(), 4);
    EXPECT_EQ(list->ComponentAt(IntPoint(first.left + 15, y)), list->GetAt(1)->GetRow()->GetAt(2));
    EXPECT_EQ(list->ComponentAt(IntPoint(-1000, y)), nullptr);
}

// The widest line is kept as paragraphs are laid out, moved, split, joined,
// cut, pasted, read, printed and removed: after each change and a layout it
// is the widest ink of the paragraphs the list holds, in the document and in
// the fragment taken out of it.
TEST_F(ParagraphLayoutTest, TheWidestLineFollowsEveryChangeOfTheList)
{
    TestDocument doc;
    auto list = Paragraphs({"ab", std::string(65, 'w'), "cd", std::string(60, 'v'), "ef"}, &doc);
    std::unique_ptr<ParagraphList> held;
    auto at = [&](int paragraph, int index) { return DocPosition(list->GetAt(paragraph)->GetRow(), index); };
    auto widen = [&](int paragraph, size_t by) {
        list->GetAt(paragraph)->GetRow()->InsertAllAt(Chars(std::string(by, 'x')), 1);
        list->GetAt(paragraph)->Invalidate();
    };
    auto widest = [](const ParagraphList& paragraphs) {
        int32_t right = 0;
        for (int i = 1; i <= paragraphs.GetCount(); ++i) {
            Rect ink;
            paragraphs.GetAt(i)->GetAbsInkBounds(ink);
            right = std::max(right, ink.right);
        }
        return right;
    };
    Pages pages;
    const std::vector<std::pair<std::string, std::function<void()>>> steps = {
        {"laid out", [] {}},
        {"the widest line shortened",
         [&] {
             list->GetAt(2)->GetRow()->RemoveFrom(5);
             list->GetAt(2)->Invalidate();
         }},
        {"another line widened", [&] { widen(3, 64); }},
        {"split inside the widest line", [&] { held = list->SplitAt(at(3, 40)); }},
        {"joined again", [&] { list->AppendList(std::move(held)); }},
        {"cut across paragraphs", [&] { held = list->DeleteRange(DocSelection(at(2, 2), at(3, 50))); }},
        {"pasted back", [&] { list->InsertListAt(at(1, 2), std::move(held)); }},
        {"printed from the page's corner", [&] { list->Paginate(pages); }},
        {"read from its stored form",
         [&] {
             std::vector<uint8_t> bytes = WriteList(*list);
             MemoryStream stream(bytes.data(), int32_t(bytes.size()));
             DocReader reader(&stream);
             list = std::make_unique<ParagraphList>(&doc);
             list->ReadCounted(reader);
         }},
        {"the widest paragraph taken out",
         [&] {
             held = std::make_unique<ParagraphList>();
             for (int i = 1; i <= list->GetCount(); ++i)
                 if (list->GetAt(i)->GetInkRight() == list->GetInkRight()) {
                     list->GetAt(i)->SetOwnerList(nullptr);
                     held->Append(list->RemoveAt(i));
                     break;
                 }
         }},
        {"all deleted", [&] { list->DeleteAll(); }},
    };
    for (const auto& [name, change] : steps) {
        SCOPED_TRACE(name);
        change();
        list->UpdateLayout();
        EXPECT_EQ(list->GetInkRight(), widest(*list));
        if (held) {
            held->UpdateLayout();
            EXPECT_EQ(held->GetInkRight(), widest(*held));
        }
    }
    EXPECT_EQ(list->GetInkRight(), 0);
}
