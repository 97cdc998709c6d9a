#pragma once
// Shared pieces of the calculus component tests: the fonts of the default
// preferences, an image at 96 dpi the drawing context measures and draws on,
// row items measured with the real fonts, paragraphs of a plain and an
// equation style, archive helpers, a recording LaTeX writer and a checker
// that reads linear text back as arithmetic.
#include "foundation/CompList.h"
#include "foundation/FontManager.h"
#include "support/model/TextOnlyLaTeXWriter.h"
#include "foundation/LayoutItemMaker.h"
#include "foundation/ParagraphComp.h"
#include "foundation/StyleTable.h"
#include "foundation/TextPrefs.h"
#include "platform/draw/ImageDC.h"
#include "support/model/LinearTextReader.h"

#include <QImage>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One item per character (its extent in its face), one per structure.
class CharItemMaker : public LayoutItemMaker {
public:
    Layout* MakePlaceholder(CompList* row, int show) override;
    Layout* MakeGray(CompList* row) override;
    Layout* MakeStruct(TextComp* comp, int32_t index) override;
    Layout* MakeWord(CompList* row, int32_t index, unsigned char code, int fontId) override;
    Layout* MakeNonAlpha(CompList* row, int32_t index, unsigned char code, int fontId) override;
    Layout* MakeSpace(CompList* row, int32_t index, unsigned char code, int fontId) override;
    Layout* MakeTab(CompList* row, int32_t index, unsigned char code, int fontId) override;
};

// Rows in group mode as "{...}", in plain mode as they are; characters as
// themselves, structures through their own LaTeX.
class RecordingLaTeX : public TextOnlyLaTeXWriter {
public:
    std::string log;
    void BeginRow(int mode) override { log += mode == 1 ? "{" : mode == 0 ? "" : "<?>"; }
    void EndRow(int mode) override { log += mode == 1 ? "}" : ""; }
    void WriteString(const char* text) override { log += text; }
    void WriteChar(TextComp& comp, bool align) override;
};


// Pixels of the image within the area that are not white.
int InkIn(const QImage& image, const Rect& area);

class CalculusTest : public ::testing::Test {
protected:
    CalculusTest();
    ~CalculusTest() override;

    std::unique_ptr<CompArray> Chars(const std::string& text, int fontId = 0);
    static std::unique_ptr<CompArray> Items(std::initializer_list<TextComp*> comps);

    // A paragraph of style 3 (plain) or 5 (equation), laid out and placed
    // with its row's origin at (20, 100).
    std::unique_ptr<ParagraphComp> Paragraph(int style, std::unique_ptr<CompArray> comps);
    static void Place(ParagraphComp& paragraph);

    static std::string LaTeX(TextComp& comp);
    static std::string LinearText(const TextComp& comp);
    static std::string RowText(const CompList& row);
    static std::vector<uint8_t> WriteRow(const CompList& row);
    static std::unique_ptr<CompList> ReadRow(const std::vector<uint8_t>& bytes);

    TextPrefs prefs;
    FontManager fonts{prefs};
    StyleTable* previousTable;
    std::unique_ptr<StyleTable> styles;
    CharItemMaker maker;
    QImage image;
    std::unique_ptr<CImageDC> dc;
};
