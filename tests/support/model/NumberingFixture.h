#pragma once
// Test styles that number like the real ones (sections restart equations,
// items and equations count) and give numbered paragraphs real labels, and
// a fixture that installs them over the model tests' simple styles.
#include "support/model/ModelTestSupport.h"

#include "foundation/EquationLabel.h"

#include <string>

class NumberingStyle : public TestStyle {
public:
    using TestStyle::TestStyle;
    EquationLabel* MakeLabel(ParagraphComp& paragraph) override
    {
        int kind = GetKind();
        return kind == 1 || kind == 4 || kind == 6 || kind == 9 ? new EquationLabel(&paragraph) : nullptr;
    }
    void CounterStep(EquationNumber& counters) const override
    {
        switch (GetKind()) {
        case 1: ++counters.section; counters.equation = counters.item = 0; break;
        case 4: ++counters.item; break;
        case 6: ++counters.equation; break;
        case 9: ++counters.subItem; break;
        default: break;
        }
    }
    // "3." for sections, "(3.2)" for equations, "2." for items.
    void LabelText(const EquationNumber& n, Str255& out) const override
    {
        out.Clear();
        switch (GetKind()) {
        case 1: out.AppendNumber(n.section); out.AppendChar('.'); break;
        case 4: out.AppendNumber(n.item); out.AppendChar('.'); break;
        case 6: out.AppendChar('('); Number(n, out); out.AppendChar(')'); break;
        default: break;
        }
    }
    // The label text without the section point; other documents in brackets.
    void ReferenceText(const EquationNumber& n, Str255& out, bool bracket) const override
    {
        out.Clear();
        if (GetKind() == 6) {
            out.AppendChar(bracket ? '[' : '(');
            Number(n, out);
            out.AppendChar(bracket ? ']' : ')');
        } else {
            out.AppendNumber(GetKind() == 1 ? n.section : n.item);
        }
    }
    bool CaretAtEnd() const override { return GetKind() == 6; }

private:
    static void Number(const EquationNumber& n, Str255& out)
    {
        if (n.section > 0) {
            out.AppendNumber(n.section);
            out.AppendChar('.');
        }
        out.AppendNumber(n.equation);
    }
};

class NumberingTest : public ModelTest {
protected:
    NumberingTest() : numbering(MakeStyles()) { gStyleTable = &numbering; }

    static StyleTable::Styles MakeStyles()
    {
        StyleTable::Styles table;
        for (int i = 0; i < StyleTable::kStyleCount; ++i)
            table[size_t(i)] = std::make_unique<NumberingStyle>(i);
        return table;
    }

    // Appends a paragraph of the style kind holding the text.
    ParagraphComp* Add(ParagraphList& list, const std::string& text, int kind)
    {
        auto* paragraph = new ParagraphComp(Chars(text), kind);
        list.Append(paragraph);
        return paragraph;
    }

    static std::string Str(const Str255& text) { return std::string(text.GetPtrAt(0), size_t(text.GetLength())); }

    SavedGlobals savedNumbering;
    StyleTable numbering;
};
