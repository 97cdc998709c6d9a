#include "ActionFixture.h"

#include "foundation/TCharacterStyleAction.h"
#include "foundation/TCreateObjectAction.h"
#include "foundation/TDeleteAction.h"
#include "foundation/TNewParagraphAction.h"
#include "foundation/TParagraphStyleAction.h"
#include "foundation/TReduceAction.h"
#include "foundation/TRemoveParagraphBreakAction.h"
#include "foundation/TTypingAction.h"

namespace {

class EditActionsTest : public ActionTest {
protected:
    // The paragraphs an action takes out and its undo puts back keep their
    // ids, so the stored bytes compare whole.
    void Check(const char* name, TAction* action, const char* after, const char* menu)
    {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> before = Bytes();
        const std::string beforeText = Str();
        ASSERT_TRUE(Run(action));
        const std::vector<uint8_t> done = Bytes();
        EXPECT_EQ(Str(), after);
        EXPECT_NE(done, before);
        EXPECT_EQ(host.MenuText(), menu);
        for (int round = 0; round < 2; ++round) {
            host.UndoOrRedo();
            EXPECT_EQ(Str(), beforeText);
            EXPECT_EQ(Bytes(), before) << "undo, round " << round;
            EXPECT_EQ(host.MenuText(), std::string("Redo ") + (menu + 5));
            host.UndoOrRedo();
            EXPECT_EQ(Str(), after);
            EXPECT_EQ(Bytes(), done) << "redo, round " << round;
        }
        host.UndoOrRedo(); // left undone: dropping it must free what it took out
    }
};

TEST_F(EditActionsTest, EditsUndoAndRedoInBothDirections)
{
    Check("a range in one row", new TDeleteAction(Range(1, 2, 1, 4)), "adef[Frac]|hello|world", "Undo delete");
    Check("the component before the caret", new TDeleteAction(Caret(1, 4)), "abdef[Frac]|hello|world", "Undo delete");
    Check("a whole structure", new TDeleteAction(Caret(1, 8)), "abcdef|hello|world", "Undo delete");
    Check("inside the numerator", new TDeleteAction(DocSelection(DocPosition(fraction->GetChild(1), 1),
                                                                 DocPosition(fraction->GetChild(1), 2))),
          "abcdef[Frac]|hello|world", "Undo delete");
    Check("across three paragraphs", new TDeleteAction(Range(1, 3, 3, 4)), "abld", "Undo delete");
    Check("split in the middle", new TNewParagraphAction(Caret(2, 3), 3), "abcdef[Frac]|he|llo|world",
          "Undo new paragraph");
    Check("at the end of the document", new TNewParagraphAction(Caret(3, 6), 2), "abcdef[Frac]|hello|world|",
          "Undo new paragraph");
    Check("caret inside a structure splits after it", new TNewParagraphAction(
              DocSelection(DocPosition(fraction->GetChild(1), 2), DocPosition(fraction->GetChild(1), 2)), 3),
          "abcdef[Frac]||hello|world", "Undo new paragraph");
    Check("at a caret", new TCreateObjectAction(new TestFraction, Caret(2, 3)), "abcdef[Frac]|he[Frac]llo|world",
          "Undo create object");
    Check("over a selection across paragraphs", new TCreateObjectAction(new TestFraction, Range(2, 5, 3, 2)),
          "abcdef[Frac]|hell[Frac]orld", "Undo create object");
    Check("taking the selection in", new TCreateObjectAction(new WrappingFraction, Range(2, 2, 2, 4)),
          "abcdef[Frac]|h[Frac]lo|world", "Undo create object");
    Check("a fraction", new TReduceAction(Range(1, 7, 1, 8)), "abcdefxy|hello|world", "Undo reduce");
}

TEST_F(EditActionsTest, ActionsWithNothingToDoChangeNothing)
{
    for (TAction* action : {static_cast<TAction*>(new TDeleteAction(Caret(2, 1))),
                            static_cast<TAction*>(new TRemoveParagraphBreakAction(Caret(1, 1)))}) {
        const auto before = Bytes();
        ASSERT_TRUE(Run(action));
        EXPECT_EQ(Bytes(), before);
        host.UndoOrRedo();
        EXPECT_EQ(Bytes(), before);
    }
    // An action that refuses is dropped; Undo still undoes the step before.
    struct Refusing : TAction {
        Refusing() : TAction(0) {}
        void Do() override {}
        bool WasRefused() const override { return true; }
    };
    const auto before = Bytes();
    ASSERT_TRUE(Run(new TDeleteAction(Range(1, 2, 1, 4))));
    EXPECT_FALSE(Run(new Refusing));
    EXPECT_EQ(host.MenuText(), "Undo delete");
    host.UndoOrRedo();
    EXPECT_EQ(Bytes(), before);
}

TEST_F(EditActionsTest, DeleteLeavesTheCaretWhereTheContentStood)
{
    ASSERT_TRUE(Run(new TDeleteAction(Range(2, 2, 2, 5))));
    EXPECT_EQ(Str(), "abcdef[Frac]|ho|world");
    EXPECT_EQ(view.selection.GetEnd(), At(2, 2));
    EXPECT_FALSE(view.selection.HasExtent());
    host.UndoOrRedo();
    EXPECT_EQ(view.selection.GetStart(), At(2, 2));
    EXPECT_EQ(view.selection.GetEnd(), At(2, 5));
}

TEST_F(EditActionsTest, NewParagraphInSourceCodeRepeatsTheLeadingTabs)
{
    auto code = Chars("\t\tx = 1;");
    list.InsertAt(new ParagraphComp(std::move(code), 7), 2);
    ASSERT_TRUE(Run(new TNewParagraphAction(Caret(2, 6), 7)));
    EXPECT_EQ(Text(*Row(2)), "\t\tx =");
    EXPECT_EQ(Text(*Row(3)), "\t\t 1;");
    EXPECT_EQ(view.selection.GetEnd(), At(3, 3));
    host.UndoOrRedo();
    EXPECT_EQ(Text(*Row(2)), "\t\tx = 1;");
    EXPECT_EQ(list.GetCount(), 4);
}

TEST_F(EditActionsTest, CreateObjectMovesTheSelectionIntoTheComponent)
{
    auto* wrapper = new WrappingFraction;
    ASSERT_TRUE(Run(new TCreateObjectAction(wrapper, Range(2, 2, 2, 4))));
    EXPECT_EQ(Text(*wrapper->GetChild(1)), "el");
    EXPECT_EQ(view.selection.GetEnd(), DocPosition(wrapper->GetChild(1), 3));
    host.UndoOrRedo();
    EXPECT_EQ(Text(*Row(2)), "hello");
    EXPECT_EQ(wrapper->GetChild(1)->GetCount(), 0);
    // Dropping the undone action deletes the component (LeakSanitizer checks).
    ASSERT_TRUE(Run(new TDeleteAction(Caret(2, 2))));
}

TEST_F(EditActionsTest, RemoveParagraphBreakJoinsAndGivesTheStyleBack)
{
    list.GetAt(2)->SetStyle(StyleTable::Lookup(2));
    Check("paragraph 3", new TRemoveParagraphBreakAction(Caret(3, 1)), "abcdef[Frac]|helloworld",
          "Undo remove paragraph break");
    ASSERT_TRUE(Run(new TRemoveParagraphBreakAction(Caret(3, 1))));
    EXPECT_EQ(list.GetAt(2)->GetStyleKind(), 3);
    EXPECT_EQ(view.selection.GetEnd(), At(2, 6));
    host.UndoOrRedo();
    EXPECT_EQ(list.GetAt(2)->GetStyleKind(), 2);
    EXPECT_EQ(list.GetAt(3)->GetStyleKind(), 3);
}

TEST_F(EditActionsTest, TypingUndoesAndRedoes)
{
    auto* typing = new TTypingAction(Caret(2, 3));
    ASSERT_TRUE(Run(typing));
    EXPECT_EQ(host.MenuText(), "Can't undo");
    const auto before = Bytes();
    for (char c : std::string("abc"))
        host.Type(static_cast<unsigned char>(c));
    EXPECT_EQ(host.GetKept(), typing);
    EXPECT_EQ(Str(), "abcdef[Frac]|heabcllo|world");
    const auto after = Bytes();
    host.UndoOrRedo();
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(Str(), "abcdef[Frac]|hello|world");
    host.UndoOrRedo();
    EXPECT_EQ(Bytes(), after);
    EXPECT_EQ(view.selection.GetEnd(), At(2, 6));

    // Typing over a selection puts the selection back on undo.
    view.selection = Range(3, 2, 3, 5);
    host.Type('X');
    EXPECT_EQ(Text(*Row(3)), "wXd");
    host.UndoOrRedo();
    EXPECT_EQ(Bytes(), after);
}

TEST_F(EditActionsTest, TypingRedoRestoresARunLongerThan255Characters)
{
    view.selection = Caret(3, 6);
    std::string run;
    for (int i = 0; i < 300; ++i)
        run += char('a' + i % 26);
    for (char c : run)
        host.Type(static_cast<unsigned char>(c));
    const auto after = Bytes();
    ASSERT_EQ(Text(*Row(3)), "world" + run);
    host.UndoOrRedo();
    EXPECT_EQ(Text(*Row(3)), "world");
    host.UndoOrRedo();
    EXPECT_EQ(Text(*Row(3)), "world" + run);
    EXPECT_EQ(Bytes(), after);
}

TEST_F(EditActionsTest, ParagraphStyleCannotBeUndoneAndDropsThePreviousStep)
{
    ASSERT_TRUE(Run(new TDeleteAction(Caret(2, 2))));
    ASSERT_TRUE(Run(new TParagraphStyleAction(Range(1, 2, 2, 2), 6)));
    EXPECT_EQ(list.GetAt(1)->GetStyleKind(), 6);
    EXPECT_EQ(list.GetAt(2)->GetStyleKind(), 6);
    EXPECT_EQ(list.GetAt(3)->GetStyleKind(), 3);
    EXPECT_FALSE(host.MenuEnabled());
    EXPECT_TRUE(view.modified);
    ASSERT_TRUE(Run(new TParagraphStyleAction(Caret(3, 1), 42)));
    EXPECT_EQ(list.GetAt(3)->GetStyleKind(), 3);
}

TEST_F(EditActionsTest, CharacterStyleStartsTypingInThatStyleOrRestylesTheSelection)
{
    // The view replaces this action by a typing action after it has run
    // (AddressSanitizer reports any use of the replaced action).
    ASSERT_TRUE(Run(new TCharacterStyleAction(Caret(2, 3), 2)));
    auto* typing = host.GetTyping();
    ASSERT_NE(typing, nullptr);
    EXPECT_EQ(host.GetKept(), typing);
    EXPECT_EQ(typing->GetFace(), fonts.GetFace(2));
    host.Type('Q');
    EXPECT_EQ(Row(2)->GetAt(3)->GetFontId(), 2);
    EXPECT_EQ(host.MenuText(), "Undo typing");

    // Over a selection it restyles the selection and cannot be undone.
    ASSERT_TRUE(Run(new TCharacterStyleAction(Range(3, 2, 3, 4), 1)));
    EXPECT_EQ(host.GetTyping(), nullptr);
    EXPECT_EQ(host.MenuText(), "Can't undo");
    EXPECT_EQ(Row(3)->GetAt(1)->GetFontId(), 0);
    EXPECT_EQ(Row(3)->GetAt(3)->GetFontId(), 1);
    EXPECT_EQ(Row(3)->GetAt(4)->GetFontId(), 0);
    EXPECT_EQ(view.selection.GetStart(), At(3, 2));
}

TEST_F(EditActionsTest, ActionsAreRefusedDuringAMouseDrag)
{
    ASSERT_TRUE(Run(new TDeleteAction(Caret(2, 2))));
    TAction* kept = host.GetKept();
    host.SetTracking(true);
    EXPECT_FALSE(Run(new TDeleteAction(Caret(3, 2))));
    EXPECT_EQ(host.GetKept(), kept);
    EXPECT_EQ(Text(*Row(3)), "world");
}

} // namespace
