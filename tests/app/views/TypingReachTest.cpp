// How far one keystroke reaches into a long document: the paragraphs whose
// bounds are read or which are laid out or placed again when one character
// is typed and shown. The view benchmark times the same keystroke; this
// count holds whatever the machine's speed.
#include "ViewFixture.h"

#include "foundation/CompList.h"
#include "foundation/DocSelection.h"
#include "foundation/DrawContext.h"
#include "foundation/DrawTargetScope.h"
#include "foundation/FontFace.h"
#include "foundation/ParagraphStyle.h"

#include <string>

namespace {

// A paragraph that counts how often its bounds are read and it is placed
// (after each layout, or when it moves).
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
    mutable int reads = 0;
    int placements = 0;
};

class TypingReachTest : public ViewTest {
protected:
    static constexpr int kParagraphs = 3500;

    // The document becomes kParagraphs short paragraphs, one of them wider
    // than the page, laid out as a document that was just opened.
    void FillLongDocument()
    {
        ParagraphList& list = Paragraphs();
        list.DeleteAll();
        for (int i = 1; i <= kParagraphs; ++i) {
            auto* paragraph = new CountingParagraph(3);
            list.Append(paragraph);
            const std::string text = i == kParagraphs / 3 ? std::string(120, 'W') : "paragraph " + std::to_string(i);
            FontFace* face = fonts->GetFace(paragraph->GetStyle()->GetFontId());
            for (char c : text)
                paragraph->GetRow()->Append(face->GetCharacter(static_cast<unsigned char>(c)));
        }
        view->OnInitialUpdate();
        ProcessEvents();
    }

    struct Reach {
        int read = 0;   // paragraphs whose bounds were read
        int placed = 0; // paragraphs laid out or moved
    };

    CountingParagraph* At(int i) { return static_cast<CountingParagraph*>(Paragraphs().GetAt(i)); }

    // Types one character at the end of paragraph i and shows it; answers
    // how many paragraphs that touched.
    Reach TypeIn(int i)
    {
        view->ClearTypingAction();
        PutCaret(i, Row(i)->GetCount() + 1);
        view->ScrollToShow(view->GetSelection());
        view->drawingWidget()->repaint();
        for (int k = 1; k <= kParagraphs; ++k)
            At(k)->reads = At(k)->placements = 0;
        Type("e");
        view->drawingWidget()->repaint();
        Reach reach;
        for (int k = 1; k <= kParagraphs; ++k) {
            reach.read += At(k)->reads > 0;
            reach.placed += At(k)->placements > 0;
        }
        return reach;
    }
};

// Finding a paragraph by its height (a bisection) reads the bounds of a few
// dozen paragraphs of a long document at most; nothing asks every paragraph.
constexpr int kHandful = 40;

TEST_F(TypingReachTest, OneKeystrokeTouchesAHandfulOfParagraphsWhateverTheLength)
{
    FillLongDocument();
    const int widest = Paragraphs().GetInkRight();
    int pageWidth = 0;
    {
        DrawTargetScope draw(view);
        pageWidth = gDrawContext.GetPageWidth();
    }
    ASSERT_GT(widest, pageWidth) << "no line is wider than the page";
    EXPECT_GT(view->GetTotalSize().cx, widest);
    for (int i : {1, kParagraphs / 2, kParagraphs}) {
        SCOPED_TRACE("typing in paragraph " + std::to_string(i));
        const Reach reach = TypeIn(i);
        EXPECT_LE(reach.read, kHandful);
        EXPECT_EQ(reach.placed, 1) << "more than the typed paragraph was laid out or moved";
        EXPECT_EQ(Text(i).back(), 'e');
        EXPECT_EQ(Paragraphs().GetInkRight(), widest) << "the widest line was lost";
        EXPECT_GT(view->GetTotalSize().cx, widest);
    }
    // Without its wide line the view is as wide as the page again.
    const int wide = kParagraphs / 3;
    Select(wide, 1, Row(wide)->GetCount() + 1);
    Key(VK_BACK, 8);
    EXPECT_EQ(Row(wide)->GetCount(), 0);
    EXPECT_LE(Paragraphs().GetInkRight(), pageWidth);
    EXPECT_EQ(view->GetTotalSize().cx, pageWidth);
}

} // namespace
