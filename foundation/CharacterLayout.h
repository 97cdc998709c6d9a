#pragma once
// A run of up to 31 characters of one font in a row. Characters are shared
// objects without positions, so caret placement, hit testing and drawing of
// text go through the run: it keeps the codes, the font id and the row, and
// maps points and row indexes through the extents of the run's prefixes.
#include "foundation/Layout.h"

#include <vector>

class CompList;
class Str255;

class CharacterLayout : public Layout {
public:
    static constexpr int kMaxChars = 31;

    CharacterLayout(CompList* row, int32_t index, unsigned char code, int fontId);

    // Same font id and room for one more; the kind test is the subclass's.
    bool CanAppend(unsigned char code, int fontId) override;
    bool IsCharacterRun() const override { return true; }
    void Measure() override;
    void PositionAt(const IntPoint& point, DocPosition& out, bool nearest) override;
    TextComp* ComponentAt(const IntPoint& point) override;
    void Draw() override;
    bool ContainsIndex(int32_t index) const override { return index >= GetStartIndex() && index < EndIndex(); }
    void GetAbsRect(int32_t index, Rect& out) const override;
    // Where the run's text ends (its box may reach the page's right edge).
    int32_t ContentRight() const override;
    bool IsEqual(const Layout& other) const override;
    int32_t EndIndex() const override { return GetStartIndex() + m_length; }

    int GetFontId() const { return m_fontId; }
    int GetLength() const { return m_length; }
    Str255 GetText() const;
    const char* GetChars() const { return m_chars; }
    CompList* GetRow() const { return m_row; }

protected:
    // Whether a code of the run's font belongs in this kind of run.
    virtual bool AcceptsCode(unsigned char code) const = 0;
    // The extents of the prefixes 1..length in the run's font.
    std::vector<int32_t> PrefixExtents() const;
    // The 1-based character under x (relative to the run), counting the left
    // half of a character as the place before it; 0..length.
    int CaretIndexAt(int x) const;

    void AppendCode(char code) { m_chars[m_length++] = code; }

    CompList* m_row;
    char m_chars[kMaxChars];
    uint8_t m_length = 0;
    int m_fontId;
    bool m_merged = false;  // other runs were merged into this one
};
