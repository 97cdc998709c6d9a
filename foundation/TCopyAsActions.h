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

class TCopyMathMLAction : public TCopyAction {
public:
    using TCopyAction::TCopyAction;
    void Do() override;
    static void SetWriter(SelectionTextWriter writer) { s_writer = writer; }

private:
    static SelectionTextWriter s_writer;
};

class TCopySVGAction : public TCopyAction {
public:
    using TCopyAction::TCopyAction;
    void Do() override;
    static void SetWriter(SelectionTextWriter writer) { s_writer = writer; }

private:
    static SelectionTextWriter s_writer;
};
