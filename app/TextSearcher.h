#pragma once
// The state of one find-and-replace run: a place in the document (a row and an
// index in it, with the rows it was entered from), the pattern to look for and
// what replaces a match. Places are visited in document order: every row of
// every paragraph, the child rows of a component right after the component's
// own place. A match is a run of consecutive components of one row equal to
// the pattern's components.
#include "foundation/CompList.h"
#include "foundation/DocPosition.h"
#include "foundation/DocSelection.h"
#include "foundation/Str255.h"

#include <array>
#include <cstdint>
#include <memory>

class ParagraphList;

class TextSearcher {
public:
    // How many rows deep the walk descends; deeper rows are passed over.
    static constexpr int kMaxDepth = 64;

    // Starts at the position (which must lie in a paragraph of the list); the
    // searcher owns the pattern (null: an empty one).
    TextSearcher(ParagraphList& paragraphs, const DocPosition& start, std::unique_ptr<CompList> pattern,
                 bool advanceFirst);
    TextSearcher(const TextSearcher&) = delete;
    TextSearcher& operator=(const TextSearcher&) = delete;

    // Goes back to a position; the next search compares there first.
    void Restart(const DocPosition& start);

    // The pattern becomes the text's characters in the text face. A pattern
    // that differs from the last one forgets the last match.
    void SetFindText(const Str255& text);
    // The pattern becomes these components (a copy of a selection, which may
    // hold structures), with the same rule for the last match.
    void SetPattern(std::unique_ptr<CompList> pattern);
    void SetReplaceText(const Str255& text) { m_replaceText = text; }
    // Components copied in place of a match instead of the replacement text.
    void SetReplaceList(std::unique_ptr<CompList> replacement) { m_replaceList = std::move(replacement); }

    // Looks for the pattern from the current place on; on success the match
    // starts at the current index. A search that finds nothing leaves the
    // place where it was, so that the next search starts there again.
    bool Find();
    bool LastSearchMatched() const { return m_lastMatched; }
    DocSelection GetMatch() const;
    // Replaces the last match and answers the selection of what was inserted;
    // the match is used up (a second Replace without a Find changes nothing
    // and answers an empty selection).
    DocSelection Replace();

    // The index in the paragraph's top row of the outermost component holding
    // the current place (the index itself when the place is in that row).
    int32_t GetTopIndex() const;
    int32_t GetParagraphIndex() const { return m_paragraphIndex; }
    const CompList& GetPattern() const { return *m_pattern; }
    int32_t GetDepth() const { return m_depth; }

private:
    struct Place {
        CompList* list = nullptr;
        int32_t index = 0;
    };
    // Where the walk stands: what a failed search puts back.
    struct Walk {
        std::array<CompList*, kMaxDepth> stackLists;
        std::array<int32_t, kMaxDepth> stackIndexes;
        int32_t depth;
        int32_t paragraphIndex;
        CompList* list;
        int32_t index;
        bool advanceFirst;
    };

    Walk SaveWalk() const;
    void RestoreWalk(const Walk& walk);
    bool Search();

    // Steps to the next place in document order; false past the last paragraph.
    bool Advance();
    bool MatchesHere() const;
    bool InsideCurrentList() const { return m_index >= 1 && m_index <= m_list->GetCount(); }
    void Push(CompList* list, int32_t index);
    std::unique_ptr<CompArray> ReplacementComponents(FontFace* face) const;

    std::array<CompList*, kMaxDepth> m_stackLists{};
    std::array<int32_t, kMaxDepth> m_stackIndexes{};
    int32_t m_depth = -1;
    ParagraphList& m_paragraphs;
    int32_t m_paragraphIndex = 0;
    CompList* m_list = nullptr;
    int32_t m_index = 1;
    bool m_advanceFirst = false;
    bool m_lastMatched = false;
    std::unique_ptr<CompList> m_pattern;
    std::unique_ptr<CompList> m_replaceList;
    Str255 m_replaceText;
};
