#pragma once
// The special copies of the Edit menu: the selection as a picture, the
// selected formula as MathML text, a selected drawing as SVG text. They
// share the copy's Undo (the earlier clipboard content back) and Commit.
#include "foundation/TCopyAction.h"

#include "platform/draw/EnhMetafile.h"

#include <string>

class TCopyMetafileAction : public TCopyAction {
public:
    using TCopyAction::TCopyAction;
    void Do() override;

private:
    HENHMETAFILE RecordSelection() const;
};

// Writes text for a selection (MathML of the selected formula, SVG of the
// selected drawing); installed by the export writers. Empty: nothing to copy.
using SelectionTextWriter = std::string (*)(const DocSelection& selection);

// The MathML of a long formula takes a while: it is written as long work
// (see LongWork) that shows its progress and that Escape stops, leaving the
// clipboard as it was.
class TCopyMathMLAction : public TCopyAction {
public:
    static constexpr const char* kCopying = "Copying as MathML";
    static constexpr const char* kNotCopied = "Stopped: nothing was copied.";
    static constexpr const char* kNotAFormula =
        "Nothing was copied: the selection holds a badly formed mathematical expression. Please correct it and try "
        "again.";

    using TCopyAction::TCopyAction;
    void Do() override;
    // A stopped copy changed nothing and has nothing to undo.
    bool CanUndo() const override { return !m_stopped; }
    static void SetWriter(SelectionTextWriter writer) { s_writer = writer; }

private:
    static SelectionTextWriter s_writer;
    bool m_stopped = false;
};

class TCopySVGAction : public TCopyAction {
public:
    using TCopyAction::TCopyAction;
    void Do() override;
    static void SetWriter(SelectionTextWriter writer) { s_writer = writer; }

private:
    static SelectionTextWriter s_writer;
};
