#include "support/model/NumberingFixture.h"

#include "foundation/DocPosition.h"
#include "foundation/DocSelection.h"

namespace {

// The document "abcdef" [Frac "xy" over "z"] | "hello" | "world".
class SelectionEditTest : public NumberingTest {
protected:
    SelectionEditTest() : list(&doc)
    {
        auto top = Chars("abcdef");
        fraction = new TestFraction(Chars("xy"), Chars("z"));
        top->Append(fraction);
        list.Append(new ParagraphComp(std::move(top), 3));
        Add(list, "hello", 3);
        Add(list, "world", 3);
    }

    CompList* Row(int paragraph) const { return list.GetAt(paragraph)->GetRow(); }
    DocPosition At(int paragraph, int index) const { return DocPosition(Row(paragraph), index); }
    static std::string FragmentText(const DocSelection& selection)
    {
        ParagraphList* fragment = selection.GetStart().GetParagraph();
        return fragment ? Text(*fragment) : "<none>";
    }

    TestDocument doc;
    ParagraphList list;
    TestFraction* fraction;
};

struct CopyCase {
    const char* name;
    int paragraphA, indexA, paragraphB, indexB;
    const char* copied;
};

TEST_F(SelectionEditTest, CopyRecordsHoldWhatTheSelectionCovers)
{
    const CopyCase cases[] = {
        {"inside one row", 1, 2, 1, 4, "bc"},
        {"a structure whole", 1, 6, 1, 8, "f[Frac]"},
        {"inside the numerator", 0, 1, 0, 3, "xy"},
        {"from a row place to the end of a later paragraph", 1, 5, 2, 6, "ef[Frac]|hello"},
        {"across three paragraphs", 1, 6, 3, 3, "f[Frac]|hello|wo"},
        {"reversed ends across paragraphs", 3, 1, 2, 5, "o|"},
        {"the label of an unnumbered paragraph", 2, 0, 2, 1, ""},
        {"a caret", 2, 3, 2, 3, ""},
    };
    const std::string before = Text(list);
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(c.name);
        DocPosition a = c.paragraphA ? At(c.paragraphA, c.indexA) : DocPosition(fraction->GetChild(1), c.indexA);
        DocPosition b = c.paragraphB ? At(c.paragraphB, c.indexB) : DocPosition(fraction->GetChild(1), c.indexB);
        DocSelection copy = DocSelection(a, b).MakeCopyRecord();
        EXPECT_EQ(FragmentText(copy), c.copied);
        ASSERT_NE(copy.GetStart().GetParagraph(), nullptr);
        EXPECT_EQ(copy.GetStart().GetParagraph()->GetDocument(), nullptr);
        copy.DestroyWithParagraph();
        EXPECT_EQ(Text(list), before);
    }
}

struct DeleteCase {
    const char* name;
    int paragraphA, indexA, paragraphB, indexB;
    const char* removed;
    const char* remaining;
    int removedAtParagraph, removedAtIndex;
};

TEST_F(SelectionEditTest, DeleteRecordsRemoveAndUndoByInsertingBack)
{
    const DeleteCase cases[] = {
        {"inside one row", 1, 2, 1, 4, "bc", "adef[Frac]|hello|world", 1, 2},
        {"the whole row", 2, 1, 2, 6, "hello", "abcdef[Frac]||world", 2, 1},
        {"across two paragraphs", 1, 7, 2, 3, "[Frac]|he", "abcdefllo|world", 1, 7},
        {"across three paragraphs", 1, 3, 3, 2, "cdef[Frac]|hello|w", "aborld", 1, 3},
        {"a caret removes nothing", 3, 2, 3, 2, "", "abcdef[Frac]|hello|world", 3, 2},
    };
    const std::string original = Text(list);
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.name);
        DocSelection selection(At(c.paragraphA, c.indexA), At(c.paragraphB, c.indexB));
        DocPosition removedAt = selection.MakeDeleteRecord();
        EXPECT_EQ(FragmentText(selection), c.removed);
        EXPECT_EQ(Text(list), c.remaining);
        EXPECT_EQ(removedAt, At(c.removedAtParagraph, c.removedAtIndex));

        ASSERT_TRUE(selection.CanInsertAt(removedAt));
        DocSelection inserted = selection.InsertAt(removedAt);
        EXPECT_EQ(Text(list), original);
        EXPECT_EQ(inserted.GetStart(), At(c.paragraphA, c.indexA));
        EXPECT_EQ(inserted.GetEnd(), At(c.paragraphB, c.indexB));
        EXPECT_EQ(selection.GetStart().GetKind(), DocPosition::kNone);  // the fragment was used up
    }
    EXPECT_EQ(doc.registered.size(), 3u);
}

TEST_F(SelectionEditTest, PastingCopiesAtListPlaces)
{
    DocSelection copy = DocSelection(At(2, 2), At(2, 4)).MakeCopyRecord();  // "el"
    DocSelection pasted = copy.InsertAt(DocPosition(fraction->GetChild(2), 2));
    EXPECT_EQ(Text(*fraction->GetChild(2)), "zel");
    EXPECT_EQ(pasted.GetStart(), DocPosition(fraction->GetChild(2), 2));
    EXPECT_EQ(pasted.GetEnd(), DocPosition(fraction->GetChild(2), 4));

    // Paragraphs pasted at a place inside the fraction split the top row
    // after the fraction, never at the nested index.
    DocSelection paragraphs = DocSelection(At(2, 4), At(3, 3)).MakeCopyRecord();  // "lo|wo"
    EXPECT_EQ(FragmentText(paragraphs), "lo|wo");
    DocSelection result = paragraphs.InsertAt(DocPosition(fraction->GetChild(1), 2));
    EXPECT_EQ(Text(list), "abcdef[Frac]lo|wo|hello|world");
    EXPECT_EQ(result.GetStart(), At(1, 8));
    EXPECT_EQ(result.GetEnd(), At(2, 3));
    EXPECT_EQ(Text(*fraction->GetChild(1)), "xy");

    // An index 0 place takes the components at the start.
    DocSelection again = DocSelection(At(1, 1), At(1, 3)).MakeCopyRecord();
    again.InsertAt(At(3, 0));
    EXPECT_EQ(Text(*Row(3)), "abhello");
}

TEST_F(SelectionEditTest, FragmentsThatDoNotFitAreKept)
{
    DocSelection paragraphs = DocSelection(At(2, 4), At(3, 3)).MakeCopyRecord();
    DocPosition whole;
    whole.SetObject(fraction);
    EXPECT_FALSE(paragraphs.CanInsertAt(whole));
    EXPECT_EQ(paragraphs.InsertAt(whole).GetStart().GetKind(), DocPosition::kNone);
    // Paragraphs go only into a paragraph list.
    CompList loose(Chars("xyz"));
    EXPECT_EQ(paragraphs.InsertAt(DocPosition(&loose, 2)).GetStart().GetKind(), DocPosition::kNone);
    EXPECT_EQ(FragmentText(paragraphs), "lo|wo");
    EXPECT_EQ(Text(loose), "xyz");
    paragraphs.DestroyWithParagraph();

    // A document's selection is never deleted as if it were a fragment.
    DocSelection inDocument(At(1, 1), At(1, 2));
    inDocument.DestroyWithParagraph();
    EXPECT_EQ(list.GetCount(), 3);
}

TEST_F(SelectionEditTest, WholeObjectsAreCopiedAlone)
{
    DocSelection copy = DocSelection::SelectObject(fraction).MakeCopyRecord();
    EXPECT_EQ(copy.GetStart().GetKind(), DocPosition::kWholeObject);
    EXPECT_NE(copy.GetSingleObject(), fraction);
    ASSERT_TRUE(copy.CanInsertAt(At(2, 1)));
    copy.InsertAt(At(2, 1));
    EXPECT_EQ(Text(*Row(2)), "[Frac]hello");
}

TEST_F(SelectionEditTest, SetFontCoversParagraphRanges)
{
    DocSelection(At(1, 5), At(3, 2)).SetFont(2);
    EXPECT_EQ(Row(1)->GetAt(4)->GetFontId(), 0);
    EXPECT_EQ(Row(1)->GetAt(5)->GetFontId(), 2);
    EXPECT_EQ(Row(2)->GetAt(1)->GetFontId(), 2);
    EXPECT_EQ(Row(3)->GetAt(1)->GetFontId(), 2);
    EXPECT_EQ(Row(3)->GetAt(2)->GetFontId(), 0);
}

} // namespace
