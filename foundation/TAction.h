#pragma once
// The base of every action a view runs: an edit, a clipboard transfer, a key
// command, a calculation. It remembers where its selection started and its
// name's string id, and whether it is done. Undo is one level deep: the view
// keeps the last action and reverts or redoes it.
#include "foundation/DocSelection.h"

#include "platform/framework/CObject.h"

#include <cstdint>

class ParagraphComp;
class Str255;

class TAction : public CObject {
    DECLARE_DYNAMIC(TAction)

public:
    explicit TAction(int16_t nameId);
    TAction(int16_t nameId, const DocSelection& selection);
    ~TAction() override = default;
    TAction(const TAction&) = delete;
    TAction& operator=(const TAction&) = delete;

    // Frees what only the action still owns when the view drops it.
    virtual void Commit() {}
    virtual bool CanUndo() const { return true; }
    // When true the view marks the document modified after performing.
    virtual bool ModifiesDocument() const { return true; }
    // Once performed or redone: true when the document is as it was. The
    // view then drops a new action, keeps its earlier undo step and leaves
    // the document's modified mark alone; a redo that changed nothing leaves
    // the action undone, to be redone again.
    virtual bool ChangedNothing() const { return false; }
    virtual void GetName(Str255& out) const;
    // Performs the change; also redoes it.
    virtual void Do() = 0;
    virtual void Undo() {}
    // An action the view performs and keeps after this one, in its place
    // (the character style starts typing in the new style this way); the
    // caller owns it. Asked once, after Perform.
    virtual TAction* TakeFollowUp() { return nullptr; }
    // True when Perform found it could not do what was asked, told the
    // user so and left the document as it was: the view then keeps the
    // step it could undo before, and drops this one.
    virtual bool WasRefused() const { return false; }

    void Perform();
    void Revert();
    void Redo();
    bool IsDone() const { return m_done; }
    int16_t GetNameId() const { return m_nameId; }
    int32_t GetParagraphIndex() const { return m_paragraphIndex; }

protected:
    // Lays out from the recorded place, then shows the selection.
    void RestoreSelection(const DocSelection& selection);
    // Shows the selection when nothing changed, so nothing is laid out.
    void ShowSelection(const DocSelection& selection) const;
    // Records where the selection starts (after a change moved it).
    void RecordStart(const DocSelection& selection);
    void SetIndexInParagraph(int32_t index) { m_indexInParagraph = index; }

    ParagraphComp* m_paragraph = nullptr;
    int32_t m_paragraphIndex = 0;
    int32_t m_indexInParagraph = 1;
    int16_t m_nameId;
    bool m_done = false;
    // RestoreSelection laid the document out during the current redo.
    bool m_laidOut = false;
};

// Writes a text into the main frame's status bar (long actions show
// "Working"). Installed by the application; without it the text goes nowhere.
void SetStatusText(const char* text);
using StatusTextSink = void (*)(const char* text);
// Answers the sink it replaces.
StatusTextSink SetStatusTextSink(StatusTextSink sink);
