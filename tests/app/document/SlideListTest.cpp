// The slide model: building slides from selections, cloning, reordering, the
// show's visible paragraphs, and slides that lose a paragraph deleted from
// the document.
#include "DocumentTestSupport.h"

#include "app/SlideList.h"
#include "foundation/DocSelection.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"

class SlideListTest : public DocumentTest {
protected:
    SlideListTest() : doc(NewDocument())
    {
        for (const char* text : {"a", "b", "c", "d", "e"})
            AddParagraph(*doc, text);
        list = doc->GetParagraphList();
        slides = doc->GetSlideList();
        doc->SetModifiedFlag(FALSE);
    }

    DocSelection Select(int first, int last) const
    {
        CompList* row = list->GetAt(last)->GetRow();
        return DocSelection(list->PositionAt(first), DocPosition(row, row->GetCount() + 1));
    }

    // The visible paragraphs' indexes.
    std::vector<int> Visible() const
    {
        std::vector<int> shown;
        for (int i = 1; i <= list->GetCount(); ++i)
            if (list->GetAt(i)->IsVisible())
                shown.push_back(i);
        return shown;
    }

    std::vector<int> SlideIndexes(int slide) const
    {
        std::vector<int> indexes;
        for (int32_t i = 0; i < slides->GetSlide(slide)->GetCount(); ++i)
            indexes.push_back(list->IndexOf(slides->GetSlide(slide)->GetAt(i)));
        return indexes;
    }

    std::unique_ptr<CCorvellDoc> doc;
    ParagraphList* list;
    SlideList* slides;
};

TEST_F(SlideListTest, BuildingSlidesFromSelections)
{
    // Adding to no slide makes the first one.
    slides->AddSelection(Select(2, 3));
    EXPECT_TRUE(doc->IsModified());
    ASSERT_EQ(slides->GetCount(), 1);
    EXPECT_EQ(SlideIndexes(0), (std::vector<int>{2, 3}));

    slides->NewSlide();
    slides->AddSelection(Select(5, 5));
    slides->AddSelection(Select(1, 1));
    EXPECT_EQ(SlideIndexes(1), (std::vector<int>{5, 1}));

    slides->CloneLast();
    ASSERT_EQ(slides->GetCount(), 3);
    EXPECT_EQ(SlideIndexes(2), (std::vector<int>{5, 1}));
    slides->AddSelection(Select(4, 4));
    EXPECT_EQ(SlideIndexes(1), (std::vector<int>{5, 1})); // the clone is a copy

    doc->SetModifiedFlag(FALSE);
    slides->DeleteAll();
    EXPECT_EQ(slides->GetCount(), 0);
    EXPECT_TRUE(doc->IsModified());
    slides->CloneLast(); // nothing to clone
    EXPECT_EQ(slides->GetCount(), 0);
}

TEST_F(SlideListTest, ReorderKeepsTheNamedSlidesOnly)
{
    for (int i = 1; i <= 3; ++i) {
        slides->NewSlide();
        slides->AddSelection(Select(i, i));
    }
    int order[] = {2, 0, 7, -1, 2};
    slides->Reorder(order, 5);
    ASSERT_EQ(slides->GetCount(), 3);
    EXPECT_EQ(SlideIndexes(0), std::vector<int>{3});
    EXPECT_EQ(SlideIndexes(1), std::vector<int>{1});
    EXPECT_EQ(SlideIndexes(2), std::vector<int>{3}); // named twice: a copy
    EXPECT_NE(slides->GetSlide(0), slides->GetSlide(2));

    int first[] = {0};
    slides->Reorder(first, 1);
    EXPECT_EQ(slides->GetCount(), 1);
    slides->Reorder(nullptr, 0);
    EXPECT_EQ(slides->GetCount(), 0);
}

TEST_F(SlideListTest, TheShowShowsOneSlideAtATime)
{
    slides->AddSelection(Select(2, 3));
    slides->NewSlide();
    slides->AddSelection(Select(5, 5));

    slides->StartShow();
    EXPECT_EQ(slides->GetCurrent(), 0);
    EXPECT_EQ(Visible(), (std::vector<int>{2, 3}));
    slides->Next();
    EXPECT_EQ(Visible(), std::vector<int>{5});
    slides->Next(); // on the last slide: stays
    EXPECT_EQ(slides->GetCurrent(), 1);
    slides->Previous();
    EXPECT_EQ(Visible(), (std::vector<int>{2, 3}));
    slides->Previous();
    EXPECT_EQ(slides->GetCurrent(), 0);
    slides->EndShow();
    EXPECT_EQ(Visible(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(SlideListTest, ASlideDoesNotKeepADeletedParagraph)
{
    slides->AddSelection(Select(2, 5));
    ParagraphComp* third = list->GetAt(3);
    ParagraphComp* fourth = list->GetAt(4);

    // Cutting from inside paragraph 2 ("a") to the start of paragraph 5 ("d"):
    // paragraphs 3 to 5 move into the cut-out part (an undo step would keep it).
    CompList* second = list->GetAt(2)->GetRow();
    CompList* fifth = list->GetAt(5)->GetRow();
    auto cut = list->DeleteRange(DocSelection(DocPosition(second, 2), DocPosition(fifth, 1)));
    ASSERT_EQ(list->GetCount(), 3); // the new document's paragraph, "a" joined to "d", "e"
    EXPECT_TRUE(slides->GetSlide(0)->Contains(third));
    // While it is out of the list it is not stored.
    std::vector<uint8_t> bytes = Store(*doc);
    Bytes tail = Bytes().Short(1).Long(2);
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 6, bytes.end()), tail.b);

    // Gone for good: no slide keeps it, and nothing reads freed memory.
    cut.reset();
    EXPECT_FALSE(slides->GetSlide(0)->Contains(third));
    EXPECT_FALSE(slides->GetSlide(0)->Contains(fourth));
    slides->StartShow();
    slides->EndShow();
    bytes = Store(*doc);
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 6, bytes.end()), tail.b);
    // Their ids went back to the pool, with those of the two paragraphs the cut made.
    EXPECT_EQ(doc->GetIdPool().GetFreeCount(), 5);

    // Emptying the document empties the slides too.
    doc->DeleteContents();
    EXPECT_EQ(slides->GetCount(), 0);
}
