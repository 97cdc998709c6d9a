// Spelling over the document's running text with the installed English
// dictionary: which words are looked at, corrections put in place, the range
// of a selection, and the ends of a run (finished, cancelled, no dictionary).
#include "CommandTestSupport.h"

#include "app/SpellChecker.h"
#include "platform/AppProfile.h"
#include "spelling/SpellingAsker.h"
#include "spelling/SpellingEngine.h"
#include "spelling/SpellingSettings.h"

#include <QTemporaryDir>

#include <deque>

namespace {

// Answers from a script and notes each word asked about together with the
// text the view had selected at that moment.
class ScriptedCorrections : public SpellingAsker {
public:
    ScriptedCorrections(RecordingActionView& view, std::deque<SpellingAnswer> script)
        : m_view(view), m_script(std::move(script))
    {
    }
    SpellingAnswer Ask(const SpellingQuery& query) override
    {
        asked.push_back(query.word);
        Str255 selected;
        m_view.selection.GetText(selected);
        selectedWhenAsked.push_back(std::string(selected.GetPtrAt(0), size_t(selected.GetLength())));
        if (m_script.empty())
            return SpellingAnswer::Just(SpellingAnswer::Cancel);
        SpellingAnswer answer = m_script.front();
        m_script.pop_front();
        return answer;
    }

    std::vector<std::string> asked;
    std::vector<std::string> selectedWhenAsked;

private:
    RecordingActionView& m_view;
    std::deque<SpellingAnswer> m_script;
};

SpellingAnswer Fix(const std::string& word) { return SpellingAnswer::ReplaceWith(word); }
SpellingAnswer Just(SpellingAnswer::Action action) { return SpellingAnswer::Just(action); }

using Words = std::vector<std::string>;

}  // namespace

class SpellCheckTest : public CommandTest {
protected:
    SpellCheckTest()
    {
        EXPECT_TRUE(m_settings.isValid());
        AppProfile::SetFolder(m_settings.path());
        SpellingEngine::Reset();
    }
    ~SpellCheckTest() override
    {
        SpellingEngine::SetAsker(nullptr);
        SpellingEngine::Reset();
        AppProfile::SetFolder(QString());
    }

    // Runs a check of the document (or of the selection) with scripted answers.
    Words Check(std::deque<SpellingAnswer> script, bool selectionOnly = false)
    {
        corrections = std::make_unique<ScriptedCorrections>(view, std::move(script));
        SpellingEngine::SetAsker(corrections.get());
        if (selectionOnly)
            CheckSpellingOfSelection(view, *list, nullptr);
        else
            CheckSpellingOfDocument(view, *list, nullptr);
        SpellingEngine::SetAsker(nullptr);
        return corrections->asked;
    }
    bool Finished() const { return ui.LastBoxText() == SpellChecker::kFinishedMessage; }

    std::unique_ptr<ScriptedCorrections> corrections;

private:
    QTemporaryDir m_settings;
};

TEST_F(SpellCheckTest, MisspelledWordsAreSelectedAndCorrected)
{
    MakeDocument({"We recieve teh letters.", "", "Nothing wrong here"});
    EXPECT_EQ(Check({Fix("receive"), Fix("the")}), (Words{"recieve", "teh"}));
    EXPECT_EQ(corrections->selectedWhenAsked, (Words{"recieve", "teh"}));
    EXPECT_EQ(DocText(), "We receive the letters.||Nothing wrong here");
    EXPECT_TRUE(view.modified);
    EXPECT_TRUE(Finished());
    // After the last correction the caret stands after the corrected word.
    EXPECT_EQ(view.selection.First(), At(1, 15));
    EXPECT_EQ(view.selection.Second(), At(1, 15));
    EXPECT_EQ(view.layouts.back(), std::make_pair(1, 12));
}

TEST_F(SpellCheckTest, CorrectionsKeepTheWordsFace)
{
    MakeDocument({"a "});
    Row(1)->InsertAllAt(Chars("wrold", FontManager::kItalicFace), 3);
    Check({Fix("world")});
    EXPECT_EQ(DocText(), "a world");
    for (int i = 3; i <= 7; ++i)
        EXPECT_EQ(Row(1)->GetAt(i)->GetFontId(), FontManager::kItalicFace);
}

TEST_F(SpellCheckTest, MathematicsAndTypewriterWordsAreNotLookedAt)
{
    MakeDocument({"plain "});
    Row(1)->InsertAllAt(Chars("xqzt ", FontManager::kMathFace), 7);
    Row(1)->InsertAllAt(Chars("grpz ", FontManager::kCodeFace), 12);
    Row(1)->InsertAllAt(Chars("wrods"), 17);
    // A word stops where a mathematics letter starts.
    Row(1)->InsertAllAt(Chars(" qwv"), 22);
    Row(1)->InsertAllAt(Chars("e", FontManager::kMathFace), 26);
    EXPECT_EQ(Check({Just(SpellingAnswer::Ignore), Just(SpellingAnswer::Ignore)}), (Words{"wrods", "qwv"}));
    EXPECT_TRUE(Finished());
}

TEST_F(SpellCheckTest, ApostrophesInsideAWordBelongToIt)
{
    MakeDocument({"They don't recieve 'quoted' words, nor cann't they."});
    EXPECT_EQ(Check({Just(SpellingAnswer::Ignore), Just(SpellingAnswer::Ignore)}), (Words{"recieve", "cann't"}));
}

TEST_F(SpellCheckTest, IgnoringLeavesTheDocumentUnmodified)
{
    MakeDocument({"teh end"});
    EXPECT_EQ(Check({Just(SpellingAnswer::Ignore)}), (Words{"teh"}));
    EXPECT_EQ(DocText(), "teh end");
    EXPECT_FALSE(view.modified);
    EXPECT_TRUE(Finished());
}

TEST_F(SpellCheckTest, ACancelledCorrectionEndsTheRunSilently)
{
    MakeDocument({"teh end", "wrods"});
    EXPECT_EQ(Check({Just(SpellingAnswer::Cancel)}), (Words{"teh"}));
    EXPECT_EQ(DocText(), "teh end|wrods");
    EXPECT_FALSE(view.modified);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SpellCheckTest, ASelectionIsCheckedToItsEndEvenAsWordsGrow)
{
    MakeDocument({"teh cat teh dog teh"});
    // "cat teh dog": the first and last "teh" lie outside.
    Select(DocSelection(At(1, 5), At(1, 16)));
    EXPECT_EQ(Check({Just(SpellingAnswer::Ignore)}, true), (Words{"teh"}));
    EXPECT_EQ(corrections->selectedWhenAsked, (Words{"teh"}));

    // The range's end moves with a longer correction: the second word is
    // still checked whole.
    MakeDocument({"teh teh dog"});
    Select(DocSelection(At(1, 1), At(1, 8)));
    EXPECT_EQ(Check({Fix("thee"), Just(SpellingAnswer::Ignore)}, true), (Words{"teh", "teh"}));
    EXPECT_EQ(DocText(), "thee teh dog");

    // A selection across paragraphs ends inside the last one.
    MakeDocument({"ok teh", "teh ok teh"});
    Select(DocSelection(At(1, 4), At(2, 4)));
    EXPECT_EQ(Check({Just(SpellingAnswer::Ignore), Just(SpellingAnswer::Ignore)}, true), (Words{"teh", "teh"}));
}

TEST_F(SpellCheckTest, AMissingDictionaryIsReportedAndNothingChanges)
{
    SpellingSettings settings;
    settings.dictionaryFolder = "/nonexistent/dictionaries";
    ASSERT_TRUE(settings.Save(SpellingSettings::kDefaultGroup));
    MakeDocument({"teh"});
    EXPECT_TRUE(Check({}).empty());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.LastBoxText(), SpellChecker::kFinishedMessage);
    EXPECT_NE(ui.LastBoxText().find("dictionary"), std::string::npos);
    EXPECT_EQ(DocText(), "teh");
}
