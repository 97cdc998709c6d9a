#pragma once
// A pair of positions: the first end and the second (the caret of a
// collapsed selection). Every selection made from two arbitrary positions
// goes through the normalising constructor, which brings both ends into one
// container with the first end not after the second, so that what lies
// between them is well defined. Selections also copy, remove and insert
// what they cover through fragments: paragraph lists outside any document,
// selected whole.
#include "foundation/DocPosition.h"
#include "foundation/Region.h"

class ExprNode;
class FontFace;
class InnerSelection;
class Str255;

class DocSelection {
public:
    // Both ends empty.
    DocSelection() = default;
    // The normalising constructor.
    DocSelection(const DocPosition& a, const DocPosition& b);
    // Children first..last - 1 of one row.
    DocSelection(CompList* list, int32_t first, int32_t last);
    // The component alone, in its owner row.
    explicit DocSelection(TextComp* comp);

    // The whole first child row of the component (1 .. count + 1).
    static DocSelection SelectContent(TextComp* comp);
    // The whole row.
    static DocSelection SelectAll(CompList* list);
    // The component as one whole object (both ends on it).
    static DocSelection SelectObject(TextComp* comp);
    // The collapsed selection at the second end.
    DocSelection CaretSelection() const;

    DocPosition GetStart() const { return m_first; }
    DocPosition GetEnd() const { return m_second; }
    const DocPosition& First() const { return m_first; }
    const DocPosition& Second() const { return m_second; }
    int32_t GetKind() const { return m_first.GetKind(); }

    // For a whole drawing, whether it has a selection inside; otherwise
    // whether the ends differ.
    bool HasExtent() const;
    bool IsInOneParagraph() const;
    // Inside one paragraph of a formula style, strictly between its ends.
    bool IsInsideFormula() const;
    // The one child between the ends (or the whole object); else null.
    TextComp* GetSingleObject() const;
    bool IsAllCharacters() const;
    // The character codes between the ends, at most 255.
    void GetText(Str255& out) const;
    int GetCommonFontIndex() const;
    // The character style every selected component of the paragraphs' rows
    // shows (links, references and value displays, which show text in any
    // style, left aside), or -1 when they differ; a caret's, or any other
    // selection's, is the common font index.
    int GetUniformFontIndex() const;
    FontFace* GetCommonFont() const;
    // Moves the second end back over trailing blanks.
    void TrimTrailingSpaces();
    // Whether the position lies inside the selection (the second end does not).
    bool Contains(const DocPosition& position) const;
    void GetBounds(Rect& out) const;
    Region GetRegion() const;
    bool PtInSelection(const IntPoint& point) const;
    void SetFont(int fontId);
    TextComp* FindEnclosing(TypeTag tag) const { return m_first.FindEnclosing(tag); }
    // Every paragraph from the first end's to the second end's uses the
    // source-code style.
    bool AllParagraphsSourceCode() const;
    // A kernel list of the nodes of the top rows of the paragraphs from the
    // first end's to the second end's (defined with the kernel expression code).
    ExprNode* CollectParagraphs() const;
    // Empties both ends and deletes the fragment that held the selection
    // (only a fragment: a document's paragraph list is never deleted).
    void DestroyWithParagraph();

    // ---- keys ----
    // The edit code of a typed character with the Shift and Ctrl states:
    // what the selection's kind decides itself, or what the component
    // enclosing the caret answers for it.
    int MapKey(char key, bool shift, bool ctrl) const;

    // ---- editing ----
    // A new fragment holding a copy of what the selection covers; answers
    // the fragment's whole selection. Copied references point at copied
    // labels; a selected number label is copied as a reference to it.
    DocSelection MakeCopyRecord() const;
    // Removes what the selection covers into a new fragment, which this
    // selection then covers; answers where the removed content stood.
    DocPosition MakeDeleteRecord();
    // Whether the fragment this selection covers fits at the position.
    bool CanInsertAt(const DocPosition& position) const;
    // Moves the fragment this selection covers in at the position (the
    // emptied fragment is deleted and this selection emptied); answers the
    // selection of what was inserted.
    DocSelection InsertAt(const DocPosition& position);

private:
    // Selects without normalising (the ends are already in order).
    static DocSelection Ordered(const DocPosition& first, const DocPosition& second);
    void NormalizeAcrossContainers(const DocPosition& a, const DocPosition& b);
    void NormalizeAcrossParagraphs(const DocPosition& a, const DocPosition& b);
    InnerSelection* Inner() const;
    bool IsLabelSelection() const;
    bool SpansParagraphs() const { return m_first.GetParagraphComp() != m_second.GetParagraphComp(); }
    DocSelection CopyAcrossParagraphs() const;
    void GetListBounds(Rect& out) const;
    int MapExtentKey(int key, bool ctrl) const;

    DocPosition m_first;
    DocPosition m_second;
};
