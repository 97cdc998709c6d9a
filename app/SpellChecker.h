#pragma once
// Checks the spelling of the running text between two places of the document:
// the words of the paragraphs' top rows, in the text's own character styles
// (mathematics and typewriter text are passed over). Each word the spelling
// engine does not know is selected in the view and put to the correction
// dialog; a corrected word takes its place. A cancelled dialog ends the check.
#include "foundation/DocSelection.h"
#include "foundation/Str255.h"

#include <cstdint>

class ActionView;
class CompList;
class DrawTarget;
class ParagraphList;
class TextComp;

class SpellChecker {
public:
    // Where the engine keeps its settings.
    static constexpr const char* kSettingsKey = "HKEY_CURRENT_USER\\SOFTWARE\\Tarnwick\\Quorvant\\Spelling";
    static constexpr const char* kFinishedMessage = "Finished spell check.";

    // Checks from the selection's start to its end; the view is drawn on
    // through target (may be null: no drawing).
    SpellChecker(ActionView& view, ParagraphList& paragraphs, const DocSelection& selection,
                 DrawTarget* target = nullptr);

    void Run();

    // Finds the next word of the range; false when there is none. The word
    // ends just before the current index.
    bool NextWord();
    const Str255& GetWord() const { return m_word; }
    int32_t GetIndex() const { return m_index; }
    int32_t GetEndIndex() const { return m_endIndex; }
    int32_t GetParagraphIndex() const { return m_paragraphIndex; }

private:
    bool InRange() const;
    // A character of the running text (not mathematics or typewriter).
    static bool IsTextChar(const TextComp* comp);
    static bool StartsWord(const TextComp* comp);
    void CheckCurrentWord();
    // Puts the first length characters of text in place of the current word.
    void ReplaceWord(const char* text, int length);
    DocSelection WordSelection() const;

    bool m_continue = true;
    int16_t m_session = 0;
    int32_t m_paragraphIndex = 0;
    int32_t m_lastParagraph = 0;
    int32_t m_index = 1;
    int32_t m_endIndex = 1;
    CompList* m_row = nullptr;
    ActionView& m_view;
    ParagraphList& m_paragraphs;
    Str255 m_word;
    DrawTarget* m_target;
};

// Edit/Spell Check Selection and Edit/Spell Check Document.
void CheckSpellingOfSelection(ActionView& view, ParagraphList& paragraphs, DrawTarget* target);
void CheckSpellingOfDocument(ActionView& view, ParagraphList& paragraphs, DrawTarget* target);
