#pragma once
// What the paragraphs ask of the notebook export writer: one cell per
// paragraph, of the kind its style names.
class CompList;

class NotebookWriter {
public:
    virtual ~NotebookWriter() = default;
    virtual void Begin() = 0;
    virtual void End() = 0;
    virtual void WriteTitle(CompList& row) = 0;
    virtual void WriteSection(CompList& row) = 0;
    virtual void WriteSubsection(CompList& row) = 0;
    virtual void WriteText(CompList& row) = 0;
    virtual void WriteDisplayFormula(CompList& row) = 0;
    virtual void WriteNumberedEquation(CompList& row) = 0;
    virtual void WriteInput(CompList& row) = 0;
};
