// How far one keystroke reaches into a long document: the paragraphs whose
// bounds are read or that are asked whether they need layout, and those laid
// out or moved, while one character is typed and shown. The view benchmark times the same keystroke; this count holds
// whatever the machine's speed.
#include "ViewFixture.h"

#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/DrawTargetScope.h"
#include "foundation/ParagraphStyle.h"

#include <string>

namespace {

class CountingParagraph : public ParagraphComp {
public:
    using ParagraphComp::ParagraphComp;
    void GetAbsBounds(Rect& out) const override
    {
        ++reads;
        ParagraphComp::GetAbsBounds(out);
    }
    void SetOrigin(const IntPoint& point) override
    {
        ++placements;
        ParagraphComp::SetOrigin(point);
    }
    bool NeedsLayout() const override
    {
        ++reads;
        return ParagraphComp::NeedsLayout();
    }
    mutable int reads = 0;
    int placements = 0;
};

constexpr int kParagraphs = 35000;
// Finding a paragraph by its height (a bisection) reads the bounds of a few
// dozen paragraphs at most; nothing asks every paragraph, not even whether it
// needs layout.
constexpr int kHandful = 40;

TEST_F(ViewTest, OneKeystrokeInALongDocumentTouchesAHandfulOfParagraphs)
{
    // Short paragraphs, one of them a word wider than the page.
    Paragraphs().DeleteAll();
    for (int i = 1; i <= kParagraphs; ++i) {
        auto* paragraph = new CountingParagraph(3);
        Paragraphs().Append(paragraph);
        const std::string text = i == kParagraphs / 3 ? std::string(120, 'W') : "paragraph " + std::to_string(i);
        for (char c : text)
            paragraph->GetRow()->Append(fonts->GetFace(paragraph->GetStyle()->GetFontId())->GetCharacter(uint8_t(c)));
    }
    view->OnInitialUpdate();
    ProcessEvents();
    auto at = [&](int i) { return static_cast<CountingParagraph*>(Paragraphs().GetAt(i)); };
    int pageWidth = 0;
    {
        DrawTargetScope draw(view);
        pageWidth = gDrawContext.GetPageWidth();
    }
    const int widest = Paragraphs().GetInkRight();
    ASSERT_GT(widest, pageWidth) << "no line is wider than the page";

    for (int i : {1, kParagraphs / 2, kParagraphs}) {
        SCOPED_TRACE("typing in paragraph " + std::to_string(i));
        view->ClearTypingAction();
        PutCaret(i, Row(i)->GetCount() + 1);
        view->drawingWidget()->repaint();
        for (int k = 1; k <= kParagraphs; ++k)
            at(k)->reads = at(k)->placements = 0;
        Type("e");
        view->drawingWidget()->repaint();
        int read = 0, placed = 0;
        for (int k = 1; k <= kParagraphs; ++k) {
            read += at(k)->reads > 0;
            placed += at(k)->placements > 0;
        }
        EXPECT_LE(read, kHandful) << "paragraphs whose bounds were read or that were asked";
        EXPECT_EQ(placed, 1) << "more than the typed paragraph was laid out or moved";
        EXPECT_EQ(Text(i).back(), 'e');
        EXPECT_EQ(Paragraphs().GetInkRight(), widest) << "the widest line was lost";
        EXPECT_GT(view->GetTotalSize().cx, widest);
    }
    // Redoing the last keystroke lays its paragraph out once, as typing it did.
    Command(ID_EDIT_UNDO);
    at(kParagraphs)->placements = 0;
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Text(kParagraphs).back(), 'e');
    EXPECT_EQ(at(kParagraphs)->placements, 1) << "the redone paragraph was laid out more than once";
    // Without its wide line the view is as wide as the page again.
    Select(kParagraphs / 3, 1, Row(kParagraphs / 3)->GetCount() + 1);
    Key(VK_BACK, 8);
    EXPECT_LE(Paragraphs().GetInkRight(), pageWidth);
    EXPECT_EQ(view->GetTotalSize().cx, pageWidth);
}

} // namespace
