#include "ActionFixture.h"

#include "support/FakeClipboard.h"
#include "support/FakeUserInterface.h"

#include "foundation/DocClipboard.h"
#include "foundation/TCopyAction.h"
#include "foundation/TCutAction.h"
#include "foundation/TDeleteAction.h"
#include "foundation/TPasteAction.h"

namespace {

class ClipboardActionsTest : public ActionTest {
protected:
    static ClipboardData ForeignText(const std::string& text)
    {
        ClipboardData data;
        data.text = text;
        return data;
    }

    FakeClipboard system;
    DocClipboard clipboard;
};

TEST_F(ClipboardActionsTest, CopyPutsTextAndThePrivateFormat)
{
    ASSERT_TRUE(Run(new TCopyAction(Range(1, 2, 3, 3))));
    ASSERT_TRUE(system.content.text.has_value());
    EXPECT_EQ(*system.content.text, "bcdef\nhello\nwo"); // lines for other programs
    ASSERT_TRUE(system.content.privateData.has_value());
    DocSelection copy = clipboard.GetContentCopy();
    EXPECT_EQ(Text(*copy.GetStart().GetParagraph()), "bcdef[Frac]|hello|wo");
    EXPECT_FALSE(view.modified);
    EXPECT_EQ(host.MenuText(), "Undo copy");

    auto copied = Paragraphs({"one", "two"});
    EXPECT_EQ(DocClipboard::PrivateBytes(*copied), WriteList(*copied));
    EXPECT_EQ(DocClipboard::PlainText(*copied), "one\rtwo");
}

TEST_F(ClipboardActionsTest, CopyThenPasteTwicePastesEqualContent)
{
    Add(list, "", 3);
    Add(list, "", 3);
    ASSERT_TRUE(Run(new TCopyAction(Range(1, 5, 1, 8))));
    ASSERT_TRUE(Run(new TPasteAction(Caret(4, 1))));
    ASSERT_TRUE(Run(new TPasteAction(Caret(5, 1))));
    EXPECT_EQ(Text(*Row(4)), "ef[Frac]");
    EXPECT_EQ(WriteRow(*Row(4)), WriteRow(*Row(5)));
    // Two distinct fractions: the clipboard keeps a fresh copy after each paste.
    EXPECT_NE(Row(4)->GetAt(3), Row(5)->GetAt(3));
    EXPECT_NE(Row(4)->GetAt(3), Row(1)->GetAt(7));
}

TEST_F(ClipboardActionsTest, PasteUndoesAndRedoesInBothDirections)
{
    ASSERT_TRUE(Run(new TCopyAction(Range(1, 2, 2, 3))));
    struct Case {
        const char* name;
        DocSelection at;
        const char* after;
    } cases[] = {
        {"at a caret", Caret(3, 3), "abcdef[Frac]|hello|wobcdef[Frac]|herld"},
        {"over a selection", Range(2, 2, 2, 5), "abcdef[Frac]|hbcdef[Frac]|heo|world"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = Bytes();
        ASSERT_TRUE(Run(new TPasteAction(c.at)));
        EXPECT_EQ(Str(), c.after);
        const auto after = Bytes();
        for (int round = 0; round < 2; ++round) {
            host.UndoOrRedo();
            EXPECT_EQ(Bytes(), before);
            host.UndoOrRedo();
            EXPECT_EQ(Bytes(), after);
        }
        host.UndoOrRedo();
        EXPECT_EQ(Bytes(), before);
    }
}

// The paragraphs a cut across paragraphs takes out come back with their own
// ids, also after another program has taken the clipboard.
TEST_F(ClipboardActionsTest, UndoOfACutAcrossParagraphsPutsTheSameParagraphsBack)
{
    Add(list, "last", 3);
    const auto before = Bytes();
    ParagraphComp* middle = list.GetAt(3);
    const int32_t middleId = middle->GetId();
    ASSERT_TRUE(Run(new TCutAction(Range(2, 2, 4, 2))));
    EXPECT_EQ(Str(), "abcdef[Frac]|hast");
    EXPECT_EQ(*system.content.text, "ello\nworld\nl");
    EXPECT_TRUE(view.modified);
    const auto after = Bytes();
    system.SimulateOtherProgram(ForeignText("theirs"));
    for (int round = 0; round < 2; ++round) {
        host.UndoOrRedo();
        EXPECT_EQ(Bytes(), before) << "round " << round;
        EXPECT_EQ(list.GetAt(3), middle);
        EXPECT_EQ(middle->GetId(), middleId);
        EXPECT_EQ(view.selection.GetEnd(), At(4, 2));
        host.UndoOrRedo();
        EXPECT_EQ(Bytes(), after) << "round " << round;
    }
}

TEST_F(ClipboardActionsTest, UndoOfACutAfterAForeignCopyPutsTheCutContentBack)
{
    const auto before = Bytes();
    ASSERT_TRUE(Run(new TCutAction(Range(1, 3, 1, 8))));
    system.SimulateOtherProgram(ForeignText("from elsewhere"));
    const int puts = system.putCount;
    host.UndoOrRedo();
    EXPECT_EQ(Bytes(), before);
    // The other program's content stays on the clipboard and is what pastes.
    EXPECT_EQ(system.putCount, puts);
    ASSERT_TRUE(Run(new TPasteAction(Caret(3, 1))));
    EXPECT_EQ(Text(*Row(3)), "from elsewhereworld");
}

TEST_F(ClipboardActionsTest, UndoOfACopyPutsTheEarlierContentBack)
{
    ASSERT_TRUE(Run(new TCopyAction(Range(2, 1, 2, 3))));
    ASSERT_TRUE(Run(new TCopyAction(Range(3, 1, 3, 4))));
    EXPECT_EQ(*system.content.text, "wor");
    host.UndoOrRedo();
    EXPECT_EQ(*system.content.text, "he");
    host.UndoOrRedo();
    EXPECT_EQ(*system.content.text, "wor");
    host.UndoOrRedo();
    ASSERT_TRUE(Run(new TPasteAction(Caret(1, 1))));
    EXPECT_EQ(Text(*Row(1)), "heabcdef[Frac]");
}

TEST_F(ClipboardActionsTest, DroppingAnUndoneCopyEmptiesOnlyTheProgramsOwnClipboard)
{
    ASSERT_TRUE(Run(new TCopyAction(Range(2, 1, 2, 3))));
    host.UndoOrRedo();
    EXPECT_TRUE(clipboard.HasData()); // stays until the action is dropped
    ASSERT_TRUE(Run(new TDeleteAction(Caret(3, 2))));
    EXPECT_FALSE(clipboard.HasData());

    ASSERT_TRUE(Run(new TCopyAction(Range(2, 1, 2, 3))));
    host.UndoOrRedo();
    system.SimulateOtherProgram(ForeignText("theirs"));
    ASSERT_TRUE(Run(new TDeleteAction(Caret(3, 2))));
    EXPECT_EQ(*system.content.text, "theirs");

    // Redone and undone again, the copy still had nothing before it.
    system.SimulateOtherProgram(ClipboardData());
    ASSERT_TRUE(Run(new TCopyAction(Range(2, 1, 2, 3))));
    for (int i = 0; i < 3; ++i)
        host.UndoOrRedo();
    ASSERT_TRUE(Run(new TDeleteAction(Caret(3, 2))));
    EXPECT_FALSE(clipboard.HasData());
}

TEST_F(ClipboardActionsTest, UndoOfAPasteLeavesAForeignClipboardAlone)
{
    system.SimulateOtherProgram(ForeignText("abc"));
    const auto before = Bytes();
    ASSERT_TRUE(Run(new TPasteAction(Caret(2, 1))));
    system.SimulateOtherProgram(ForeignText("newer"));
    host.UndoOrRedo();
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(system.putCount, 0);
    EXPECT_EQ(*system.content.text, "newer");
    host.UndoOrRedo(); // redo pastes what the clipboard holds now
    EXPECT_EQ(Text(*Row(2)), "newerhello");
}

TEST_F(ClipboardActionsTest, ForeignTextPastesOneParagraphPerLineUpToItsFirstNul)
{
    struct Case {
        std::string text;
        const char* after;
    } cases[] = {
        {"one\r\ntwo\nthree\rfour", "abcdef[Frac]|heone|two|three|fourllo|world"},
        {std::string("ab\0cd\nef", 8), "abcdef[Frac]|heabllo|world"},
        {"", "abcdef[Frac]|hello|world"},
        {std::string("\0xyz", 4), "abcdef[Frac]|hello|world"},
    };
    const auto before = Bytes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        system.SimulateOtherProgram(ForeignText(c.text));
        ASSERT_TRUE(Run(new TPasteAction(Caret(2, 3))));
        EXPECT_EQ(Str(), c.after);
        host.UndoOrRedo();
        EXPECT_EQ(Bytes(), before);
    }
    // Empty text over a selection still replaces it, and undo brings it back.
    ASSERT_TRUE(Run(new TPasteAction(Range(2, 2, 2, 4))));
    EXPECT_EQ(Text(*Row(2)), "hlo");
    host.UndoOrRedo();
    EXPECT_EQ(Bytes(), before);
}

TEST_F(ClipboardActionsTest, AForeignPicturePastesAsAPictureComponent)
{
    ClipboardData picture;
    picture.metafile = std::vector<uint8_t>{1, 2, 3};
    system.SimulateOtherProgram(picture);
    const auto before = Bytes();
    ASSERT_TRUE(Run(new TPasteAction(Caret(2, 1))));
    EXPECT_EQ(Bytes(), before); // nothing makes pictures yet
    DocClipboard::SetPictureMaker([](const std::vector<uint8_t>& bytes) -> TextComp* {
        return bytes.size() == 3 ? new TestFraction : nullptr;
    });
    ASSERT_TRUE(Run(new TPasteAction(Caret(2, 1))));
    DocClipboard::SetPictureMaker(nullptr);
    EXPECT_EQ(Text(*Row(2)), "[Frac]hello");
    host.UndoOrRedo();
    EXPECT_EQ(Bytes(), before);
}

TEST_F(ClipboardActionsTest, ADamagedPrivateBlockChangesNothing)
{
    ClipboardData damaged;
    damaged.privateData = std::vector<uint8_t>{5, 0, 0, 0, 3, 0};
    system.SimulateOtherProgram(damaged);
    const auto before = Bytes();
    EXPECT_FALSE(Run(new TPasteAction(Caret(2, 3))));
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(host.GetKept(), nullptr);
}

TEST_F(ClipboardActionsTest, CuttingAWholeObjectThatCannotBeRemovedLeavesItsListAlone)
{
    // A list outside any document, as an editor of a dialog holds it.
    ParagraphList loose;
    auto row = Chars("a");
    auto* object = new TestFraction;
    row->Append(object);
    loose.Append(new ParagraphComp(std::move(row), 3));
    ASSERT_TRUE(Run(new TCutAction(DocSelection::SelectObject(object))));
    host.UndoOrRedo();
    ASSERT_TRUE(Run(new TDeleteAction(Caret(2, 1))));
    ASSERT_EQ(loose.GetCount(), 1);
    EXPECT_EQ(Text(loose), "a[Frac]");
}

TEST_F(ClipboardActionsTest, AnUnreachableClipboardKeepsNothing)
{
    system.available = false;
    const auto before = Bytes();
    ASSERT_TRUE(Run(new TCutAction(Range(2, 2, 2, 4))));
    EXPECT_EQ(Text(*Row(2)), "hlo");
    EXPECT_FALSE(clipboard.HasData());
    host.UndoOrRedo();
    EXPECT_EQ(Bytes(), before);
}

} // namespace

TEST_F(ClipboardActionsTest, AnotherProgramsContentIsReadOnceUntilTheClipboardChanges)
{
    // The Paste item asks for the content on every idle update: a large text
    // of another program must not be parsed again each time.
    system.SimulateOtherProgram(ForeignText("theirs"));
    for (int i = 0; i < 3; ++i)
        clipboard.GetContentCopy();
    EXPECT_EQ(system.textReads, 1);
    system.SimulateOtherProgram(ForeignText("newer"));
    ASSERT_TRUE(Run(new TPasteAction(Caret(2, 1))));
    EXPECT_EQ(Text(*Row(2)), "newerhello");
    EXPECT_EQ(system.textReads, 2);
}

// Other programs read and write UTF-8: a character of the text faces or of
// the mathematics face leaves as the character its face shows and comes back
// into a face that shows it, never as its 8-bit code taken in another face.
TEST_F(ClipboardActionsTest, AccentsAndGreekSurviveCopyAndPasteAsUtf8)
{
    const std::string accented = "text: \xc3\xa9 \xc3\xa8 \xc3\xbc";        // "text: é è ü"
    const std::string mixed = "\xce\xb1\xce\xb2\xce\xb3 \xe2\x88\xab \xc3\xa9";  // "αβγ ∫ é"
    Add(list, "text: \xe9 \xe8 \xfc", 3);
    ASSERT_TRUE(Run(new TCopyAction(Range(4, 1, 4, 12))));
    EXPECT_EQ(*system.content.text, accented);

    system.SimulateOtherProgram(ForeignText(mixed + "\r\n"));
    Add(list, "", 5);
    ASSERT_TRUE(Run(new TPasteAction(Caret(5, 1))));
    const CompList& pasted = *Row(5);
    ASSERT_EQ(pasted.GetCount(), 7);
    const std::pair<int, int> faceAndCode[] = {{3, 168}, {3, 135}, {3, 155}, {0, ' '}, {3, 189}, {0, ' '}, {0, 0xE9}};
    for (int i = 1; i <= 7; ++i) {
        EXPECT_EQ(pasted.GetAt(i)->GetFontId(), faceAndCode[i - 1].first) << i;
        EXPECT_EQ(pasted.GetAt(i)->GetChar(), faceAndCode[i - 1].second) << i;
    }
    ASSERT_TRUE(Run(new TCopyAction(Range(5, 1, 5, 8))));
    EXPECT_EQ(*system.content.text, mixed);

    // A character no face holds is left out; bytes that are not UTF-8 are
    // text-face codes, as older programs wrote them.
    system.SimulateOtherProgram(ForeignText("a\xe4\xb8\xad" "b"));
    ASSERT_TRUE(Run(new TPasteAction(Caret(5, 1))));
    system.SimulateOtherProgram(ForeignText("\xe9t\xe9"));
    ASSERT_TRUE(Run(new TPasteAction(Caret(5, 1))));
    EXPECT_EQ(Text(*Row(5)).substr(0, 5), "\xe9t\xe9" "ab");
}

// Pasting text that holds characters no face can show first names them and
// counts them; agreed to, the rest is pasted, declined, nothing changes and
// the undo step stays. Text every face shows is pasted without a question.
TEST_F(ClipboardActionsTest, APasteThatWouldLeaveOutCharactersSaysWhichAndHowManyFirst)
{
    FakeUserInterface ui;
    const std::string few = " characters this editor cannot show would be left out: ";
    const struct {
        const char* text;
        const char* pasted;
        std::string question; // none: pasted at once
    } cases[] = {
        {"a\xe4\xb8\xad" "b", "ab", "1 character this editor cannot show would be left out: \xe4\xb8\xad"}, // "a中b"
        // "x₁·x₂ⁿ": the subscripts and the superscript go, the middle dot stays.
        {"x\xe2\x82\x81\xc2\xb7x\xe2\x82\x82\xe2\x81\xbf", "x\xc2\xb7x",
         "3" + few + "\xe2\x82\x81 \xe2\x82\x82 \xe2\x81\xbf"},
        // "中文 x😀中" on two lines: each character named once, every one counted.
        {"\xe4\xb8\xad\xe6\x96\x87 x\n\xf0\x9f\x98\x80\xe4\xb8\xad", " x",
         "4" + few + "\xe4\xb8\xad \xe6\x96\x87 \xf0\x9f\x98\x80"},
        // A zero-width space shows nothing: it is named by its code.
        {"a\xe2\x80\x8b" "b", "ab", "1 character this editor cannot show would be left out: U+200B"},
        // Thirteen different letters of another script: twelve named, then "…".
        {"\xe4\xb8\x80\xe4\xb8\x81\xe4\xb8\x82\xe4\xb8\x83\xe4\xb8\x84\xe4\xb8\x85\xe4\xb8\x86"
         "\xe4\xb8\x87\xe4\xb8\x88\xe4\xb8\x89\xe4\xb8\x8a\xe4\xb8\x8b\xe4\xb8\x8c.", ".",
         "13" + few + "\xe4\xb8\x80 \xe4\xb8\x81 \xe4\xb8\x82 \xe4\xb8\x83 \xe4\xb8\x84 \xe4\xb8\x85 "
         "\xe4\xb8\x86 \xe4\xb8\x87 \xe4\xb8\x88 \xe4\xb8\x89 \xe4\xb8\x8a \xe4\xb8\x8b \xe2\x80\xa6"},
        {"\xce\xb1 b", "\xce\xb1 b", ""}, // "α b", all shown
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        system.SimulateOtherProgram(ForeignText(c.text));
        Add(list, "", 3);
        const int last = list.GetCount();
        ASSERT_TRUE(Run(new TCopyAction(Range(2, 1, 2, 2))));
        system.SimulateOtherProgram(ForeignText(c.text));
        const auto before = Bytes();
        for (const int answer : c.question.empty() ? std::vector{IDOK} : std::vector{IDCANCEL, IDOK}) {
            ui.boxes.clear();
            if (!c.question.empty())
                ui.ScriptAnswers({answer});
            ASSERT_TRUE(Run(new TPasteAction(Caret(last, 1))));
            ASSERT_EQ(ui.boxes.size(), c.question.empty() ? 0u : 1u);
            if (!c.question.empty()) {
                EXPECT_EQ(ui.boxes[0].text, c.question + "\n\nPaste the rest?");
            }
            if (answer == IDCANCEL) {
                EXPECT_EQ(Bytes(), before);
                EXPECT_EQ(host.MenuText(), "Undo copy"); // the step before stays
            }
        }
        EXPECT_EQ(Text(*Row(last)), Text(*DocClipboard::ParagraphsFromText(c.pasted)->GetAt(1)->GetRow()));
        EXPECT_TRUE(ui.beeps.empty());
    }
}
