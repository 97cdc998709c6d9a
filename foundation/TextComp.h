#pragma once
// The root of every document component: paragraphs, characters, character
// runs of a file, math structures, pictures, plots, links and drawings. It
// fixes the operations the whole program calls without knowing the concrete
// class; the defaults here are what a component that does not care answers.
// Boxed components take most of theirs from BoxComp instead.
#include "foundation/IntPoint.h"
#include "foundation/Rect.h"
#include "foundation/TypeTag.h"
#include "platform/framework/CObject.h"

class CompList;
class DocPosition;
class DocReader;
class DocWriter;
class ExprNode;
class LaTeXWriter;
class LinkRemap;
class ParagraphComp;
class TextOutBuffer;

class TextComp : public CObject {
public:
    static const CRuntimeClass classTextComp;
    const CRuntimeClass* GetRuntimeClass() const override { return &classTextComp; }

    ~TextComp() override = default;

    // The first command id of the element-insert range and the last.
    static constexpr int kFirstElementCommand = 32850;
    static constexpr int kLastElementCommand = 32871;

    // Deletes the component unless it is shared.
    virtual void Delete() { delete this; }
    // A new deep copy; copied link targets and references go into remap.
    virtual TextComp* Clone(LinkRemap& remap) = 0;

    // ---- layout ----
    // True while the component needs measuring.
    virtual bool IsDirty() const { return false; }
    // Marks the component as needing layout and passes the change up to the paragraph.
    virtual void Invalidate() {}
    // Marks the component and everything inside it, without passing it upwards.
    virtual void MarkDirty() {}
    // Bounds relative to the component's own origin (baseline at y = 0).
    virtual void Measure() {}
    virtual void SetOrigin(const IntPoint& point) {}
    virtual void GetOrigin(IntPoint& out) const {}
    virtual void SetBounds(const Rect& bounds) {}
    virtual void GetBounds(Rect& out) const {}
    virtual int GetWidth() const { return 0; }
    // The bounds moved by the origin (document coordinates).
    virtual void GetAbsBounds(Rect& out) const {}

    // ---- hit testing and drawing ----
    virtual bool HitTest(const IntPoint& point) const { return false; }
    // The caret position a click at the point means: before this component in
    // its row, or after it when nearest is set and the point is right of the middle.
    virtual void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest);
    // The innermost component under the point.
    virtual TextComp* ComponentAt(const IntPoint& point) { return this; }
    virtual void Draw() {}

    // ---- identity ----
    virtual void GetTag(TypeTag& out) const { out = tag_null; }
    // Same tag and same character code.
    virtual bool IsEqual(const TextComp& other) const;
    virtual bool IsCharBlock() const { return false; }
    virtual bool IsGrid() const { return false; }
    virtual bool IsPlot() const { return false; }
    virtual bool IsDiagram() const { return false; }

    // ---- tree ----
    virtual void SetOwner(CompList* owner) {}
    virtual CompList* GetOwner() const { return nullptr; }
    // The paragraph that holds the component, found through the owner rows.
    virtual ParagraphComp* GetParagraph() const;
    // The character code; 0 for anything that is not a character.
    virtual unsigned char GetChar() const { return 0; }
    // A new kernel-expression node for the component, owned by the caller.
    virtual ExprNode* BuildNode();
    // A kernel answer handed to the component at the selection (plots and
    // drawings take theirs): true when the component took the node and owns it.
    virtual bool TakeKernelResult(ExprNode* answer) { (void)answer; return false; }
    // Child row i (1-based), or null.
    virtual CompList* GetChild(int i) const { return nullptr; }
    virtual int GetChildCount() const { return 0; }
    // Caret moves: the child row to enter when the caret leaves from (null:
    // entering from outside); null when the caret leaves the component.
    virtual CompList* GetListLeft(CompList* from) { return nullptr; }
    virtual CompList* GetListRight(CompList* from) { return nullptr; }
    virtual CompList* GetListUp(CompList* from) { return nullptr; }
    virtual CompList* GetListDown(CompList* from) { return nullptr; }
    // The 1-based index of a child row; 0 when it is not a child.
    virtual int IndexOfChild(const CompList* row) const { return 0; }

    // ---- text and archive forms ----
    virtual void WriteLaTeX(LaTeXWriter& writer) {}
    // The linear text form.
    virtual void WriteText(TextOutBuffer& out) const {}
    // The component's own fields; the archive writes the tag and length.
    virtual void Write(DocWriter& writer) {}
    virtual void Read(DocReader& reader) {}

    // ---- editing ----
    // Where the caret goes after the component has been inserted: just after it.
    virtual void GetEntryPosition(DocPosition& out);
    // Whether inserting this component over a selection wraps the selection.
    virtual bool AcceptsSelection() const { return false; }
    // Delimiters, bars, radicals, conjugates and accents.
    virtual bool IsEnclosure() const { return false; }
    virtual int GetFontId() const { return 0; }
    virtual void SetFontId(int fontId) {}
    virtual void SetSizeStep(signed char step) {}
    // The edit command for a key pressed at a position inside the component; 0: none.
    virtual int MapKey(DocPosition& position, int key, bool shift, bool ctrl) { return 0; }
    virtual bool IsCommandEnabled(int commandId, int extra) const
    {
        return commandId >= kFirstElementCommand && commandId <= kLastElementCommand;
    }

    // The component factory: a new, default component of the class a stored
    // tag names, or null for any other tag (and when the class is not present
    // or memory runs out). The caller owns the result.
    static TextComp* CreateFromTag(TypeTag tag);
    static bool IsNotChar(TypeTag tag) { return tag != tag_Char; }

    TypeTag Tag() const
    {
        TypeTag tag;
        GetTag(tag);
        return tag;
    }
    // The 1-based index of this component in its owner row; 0 when it has none.
    int IndexInOwner() const;

private:
    // The place where the owner row last found the component (CompList::Find
    // checks it before it relies on it).
    friend class CompList;
    mutable int m_rowIndex = 0;
};

inline const CRuntimeClass TextComp::classTextComp = {"TextComp", nullptr, RUNTIME_CLASS(CObject)};
