#pragma once
// A LaTeX writer for tests that record what components write: every
// document-structure call does nothing, and the recorder supplies the rows,
// strings and characters.
#include "foundation/LaTeXWriter.h"

#include <string>

class TextOnlyLaTeXWriter : public LaTeXWriter {
public:
    void BeginDocument(bool, int16_t) override {}
    void WriteEnd() override {}
    void WriteText(std::string_view bytes, LaTeXPlace) override { WriteString(std::string(bytes).c_str()); }
    void BeginTitle() override {}
    void EndTitle() override {}
    void BeginSection(EquationLabel*) override {}
    void EndSection(EquationLabel*) override {}
    void BeginHeading() override {}
    void EndHeading() override {}
    void BeginParagraph(bool) override {}
    void BeginEnumeratedItem(EquationLabel*) override {}
    void EndEnumeratedItem(EquationLabel*) override {}
    void BeginDisplayMath() override {}
    void EndDisplayMath() override {}
    void BeginNumberedEquation(EquationLabel*) override {}
    void EndNumberedEquation(EquationLabel*) override {}
    void BeginVerbatim() override {}
    void NewLine() override {}
    void BeginItemizedItem() override {}
    void BeginSubEnumeratedItem(EquationLabel*) override {}
    void EndSubEnumeratedItem(EquationLabel*) override {}
    void BeginSubItemizedItem() override {}
    void EndItem() override {}
    void BeginEqnarray() override {}
    void EndEqnarray() override {}
};
