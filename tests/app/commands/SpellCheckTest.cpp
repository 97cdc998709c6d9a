// Spelling over the document's running text with the installed English
// dictionary: the words looked at, corrections, the range of a selection and
// the ends of a run (finished, cancelled, no dictionary).
#include "CommandTestSupport.h"
#include "app/SpellChecker.h"
#include "platform/AppProfile.h"
#include "spelling/SpellingAsker.h"
#include "spelling/SpellingEngine.h"
#include "spelling/SpellingSettings.h"
#include <QTemporaryDir>

using Words = std::vector<std::string>;

class SpellCheckTest : public CommandTest, public SpellingAsker {
protected:
    SpellCheckTest()
    {
        AppProfile::SetFolder(m_settings.path());
        SpellingEngine::Reset();
        SpellingEngine::SetAsker(this);
    }
    ~SpellCheckTest() override
    {
        SpellingEngine::SetAsker(nullptr);
        SpellingEngine::Reset();
        AppProfile::SetFolder(QString());
    }
    // Answers in turn: "-" ignores the word, another answer replaces it; then Cancel.
    SpellingAnswer Ask(const SpellingQuery& query) override
    {
        Str255 selected;
        view.selection.GetText(selected);
        EXPECT_EQ(std::string(selected.GetText()), query.word) << "the word asked about is selected";
        asked.push_back(query.word);
        std::string answer = asked.size() <= answers.size() ? answers[asked.size() - 1] : "";
        if (answer.empty() || answer == "-")
            return SpellingAnswer::Just(answer.empty() ? SpellingAnswer::Cancel : SpellingAnswer::Ignore);
        return SpellingAnswer::ReplaceWith(answer);
    }
    // Checks the selection when there is one, else the document.
    Words Check(const Words& script)
    {
        answers = script;
        asked.clear();
        if (view.selection.HasExtent())
            CheckSpellingOfSelection(view, *list, nullptr);
        else
            CheckSpellingOfDocument(view, *list, nullptr);
        return asked;
    }

    Words answers, asked;
    QTemporaryDir m_settings;
};

TEST_F(SpellCheckTest, RunsOverTheRunningTextOfTheDocumentOrTheSelection)
{
    const std::string finished = SpellChecker::kFinishedMessage;
    struct Case {
        std::vector<std::string> doc;
        std::vector<int> selection;  // from paragraph, index to paragraph, index; none: the document
        Words answers, asked;
        std::string text, box;
    };
    const Case cases[] = {
        {{"We recieve teh letters.", "", "Fine."}, {}, {"receive", "the"}, {"recieve", "teh"},
         "We receive the letters.||Fine.", finished},
        {{"They don't recieve it."}, {}, {"-"}, {"recieve"}, "They don't recieve it.", finished},
        {{"teh end", "wrods"}, {}, {}, {"teh"}, "teh end|wrods", ""},  // cancelled silently
        // The first and last "teh" lie outside "cat teh dog".
        {{"teh cat teh dog teh"}, {1, 5, 1, 16}, {"-"}, {"teh"}, "teh cat teh dog teh", finished},
        // The range's end moves with a longer correction: the second word is still checked whole.
        {{"teh teh dog"}, {1, 1, 1, 8}, {"thee", "-"}, {"teh", "teh"}, "thee teh dog", finished},
        {{"ok teh", "teh ok teh"}, {1, 4, 2, 4}, {"-", "-"}, {"teh", "teh"}, "ok teh|teh ok teh", finished},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.doc[0]);
        MakeDocument(c.doc);
        const bool changes = DocText() != c.text;
        if (!c.selection.empty())
            view.selection = DocSelection(At(c.selection[0], c.selection[1]), At(c.selection[2], c.selection[3]));
        EXPECT_EQ(Check(c.answers), c.asked);
        EXPECT_EQ(DocText(), c.text);
        EXPECT_EQ(view.modified, changes);
        EXPECT_EQ(ui.LastBoxText(), c.box);
    }

    // Mathematics and typewriter text are not looked at; a correction keeps the face.
    MakeDocument({"plain "});
    using Face = FontManager;
    for (auto [text, face] : {std::pair("xqzt ", Face::kMathFace), {"grpz ", Face::kCodeFace}, {"wrods qwv", 0},
                              {"e", Face::kMathFace}, {" ", 0}, {"wrold", Face::kItalicFace}})
        Row(1)->InsertAllAt(Chars(text, face), Row(1)->GetCount() + 1);
    // A word stops where mathematics starts: "qwv", not "qwve".
    EXPECT_EQ(Check({"-", "-", "world"}), (Words{"wrods", "qwv", "wrold"}));
    EXPECT_EQ(DocText(), "plain xqzt grpz wrods qwve world");
    for (int i = 28; i <= 32; ++i)
        EXPECT_EQ(Row(1)->GetAt(i)->GetFontId(), Face::kItalicFace);
    // The caret stands after the last corrected word.
    EXPECT_EQ(view.selection.First(), At(1, 33));
    EXPECT_EQ(view.selection.Second(), At(1, 33));
    EXPECT_EQ(view.layouts.back(), std::make_pair(1, 28));

    // Without a dictionary the run is refused with a message.
    SpellingSettings settings;
    settings.dictionaryFolder = "/nonexistent/dictionaries";
    ASSERT_TRUE(settings.Save(SpellingSettings::kDefaultGroup));
    SpellingEngine::Reset();
    MakeDocument({"teh"});
    EXPECT_TRUE(Check({"the"}).empty());
    EXPECT_NE(ui.LastBoxText().find("dictionary"), std::string::npos);
    EXPECT_EQ(DocText(), "teh");
}
