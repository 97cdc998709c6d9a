#pragma once
// Shared pieces of the component-model tests: the fonts of the default
// preferences, a table of simple paragraph styles, a two-row structure
// standing in for a fraction, rows built from text, and archive helpers.
#include "foundation/CompList.h"
#include "foundation/DocWriter.h"
#include "foundation/DocumentModel.h"
#include "foundation/EquationLabel.h"
#include "foundation/EquationNumber.h"
#include "foundation/CharComp.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/Layout.h"
#include "foundation/LayoutItemMaker.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/ParagraphStyle.h"
#include "foundation/StructComp.h"
#include "foundation/StyleTable.h"
#include "foundation/TextPrefs.h"
#include "support/model/SavedGlobals.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A paragraph style whose layout makes one line of fixed-width items and
// whose height is 20 per line (tests set lines through the row's text).
class TestStyle : public ParagraphStyle {
public:
    explicit TestStyle(int kind) : m_kind(kind) {}
    int GetKind() const override { return m_kind; }
    int GetFontId() const override;
    signed char GetSizeStep(const ParagraphComp*) const override { return 0; }
    void Layout(ParagraphComp& paragraph, ParagraphComp* previous, int left, int right) override;
    void Place(ParagraphComp& paragraph, const IntPoint& point) override;
    // Sections, numbered paragraphs, numbered equations and sub-enumerated
    // paragraphs get a TestLabel.
    EquationLabel* MakeLabel(ParagraphComp&) override;
    void CounterStep(EquationNumber&) const override {}

    static constexpr int kHeight = 20;

private:
    int m_kind;
};

// A number label showing "(n)" for the equation counter.
class TestLabel : public EquationLabel {
public:
    void Update(EquationNumber& counters) override;
    void GetBounds(Rect& out) const override { out = Rect(0, 0, 30, 20); }
    Str255 GetText() const override;

    int equation = 0;
};

// Items of fixed size: 10 units per character, a structure as wide as its
// bounds, an empty row as a 10 x 10 box (empty when the placeholder is hidden).
class TestItemMaker : public LayoutItemMaker {
public:
    Layout* MakePlaceholder(CompList* row, int show) override;
    Layout* MakeGray(CompList* row) override;
    Layout* MakeStruct(TextComp* comp, int32_t index) override;
    Layout* MakeWord(CompList* row, int32_t index, unsigned char code, int fontId) override;
    Layout* MakeNonAlpha(CompList* row, int32_t index, unsigned char code, int fontId) override;
    Layout* MakeSpace(CompList* row, int32_t index, unsigned char code, int fontId) override;
    Layout* MakeTab(CompList* row, int32_t index, unsigned char code, int fontId) override;
};

// Two child rows ("Frac"), the second kept by the class itself.
class TestFraction : public StructComp {
public:
    TestFraction();
    TestFraction(std::unique_ptr<CompArray> top, std::unique_ptr<CompArray> bottom);
    ~TestFraction() override;
    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_Frac; }
    CompList* GetChild(int i) const override { return i == 2 ? m_second : StructComp::GetChild(i); }
    int GetChildCount() const override { return 2; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;
    void Measure() override { m_bounds = Rect(0, -10, 30, 10); }

private:
    CompList* m_second;
};

// A document that hands out paragraph ids 1, 2, 3, ...
class TestDocument : public DocumentModel {
public:
    int32_t GetDocId() const override { return 7; }
    void RegisterParagraph(ParagraphComp& paragraph) override;
    void UnregisterParagraph(ParagraphComp& paragraph) override;
    bool LargerEquations() const override { return false; }
    bool NumberPrintedPages() const override { return false; }
    int16_t FirstPageNumber() const override { return 1; }

    std::map<int32_t, ParagraphComp*> registered;
    int32_t nextId = 1;
};

class ModelTest : public ::testing::Test {
protected:
    ModelTest();
    ~ModelTest() override;

    // The shared characters of the text in one face.
    std::unique_ptr<CompArray> Chars(const std::string& text, int fontId = 0);
    // The text of a row: characters as themselves, other components as "[tag]".
    static std::string Text(const CompList& row);
    static std::string Text(const ParagraphList& list);
    // A list of plain paragraphs, one per line of text.
    std::unique_ptr<ParagraphList> Paragraphs(const std::vector<std::string>& lines, DocumentModel* doc = nullptr);

    // The bytes a write makes (measured by a counting pass first).
    static std::vector<uint8_t> Store(const std::function<void(DocWriter&)>& write);
    static std::vector<uint8_t> WriteRow(const CompList& row);
    static std::vector<uint8_t> WriteList(const ParagraphList& list);

    SavedGlobals saved;
    TextPrefs prefs;
    FontManager fonts{prefs};
    StyleTable styles;
    TestItemMaker maker;
};
