#pragma once
// Shared pieces of the fraction and delimiter tests: the fonts of the default
// preferences, an image the drawing context measures and draws on at 96 dpi,
// row items measured with the real fonts, paragraphs of a plain and an
// equation style, archive helpers, a recording LaTeX writer and a checker
// that reads linear text back as arithmetic.
#include "foundation/CompList.h"
#include "foundation/DocWriter.h"
#include "foundation/CharComp.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/LayoutItemMaker.h"
#include "foundation/ParagraphComp.h"
#include "foundation/StyleTable.h"
#include "foundation/TextPrefs.h"
#include "platform/draw/ImageDC.h"
#include "support/model/LinearTextReader.h"
#include "support/model/SavedGlobals.h"
#include "support/model/TextOnlyLaTeXWriter.h"

#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One item per character (its text extent in its own face) and one per
// structure (its bounds); an empty row is the em box, or nothing.
class RealItemMaker : public LayoutItemMaker {
public:
    Layout* MakePlaceholder(CompList* row, int show) override;
    Layout* MakeGray(CompList* row) override;
    Layout* MakeStruct(TextComp* comp, int32_t index) override;
    Layout* MakeWord(CompList* row, int32_t index, unsigned char code, int fontId) override;
    Layout* MakeNonAlpha(CompList* row, int32_t index, unsigned char code, int fontId) override;
    Layout* MakeSpace(CompList* row, int32_t index, unsigned char code, int fontId) override;
    Layout* MakeTab(CompList* row, int32_t index, unsigned char code, int fontId) override;
};

// Records the LaTeX writer calls: rows as "{...}" in group mode (1) and as
// they are in plain mode (0), characters as themselves, strings as written.
class RecordingLaTeX : public TextOnlyLaTeXWriter {
public:
    std::string log;
    void BeginRow(int mode) override { log += mode == 1 ? "{" : mode == 0 ? "" : "<?>"; }
    void EndRow(int mode) override { log += mode == 1 ? "}" : ""; }
    void WriteString(const char* text) override { log += text; }
    void WriteChar(TextComp& comp, bool align) override;
};


// Pixels of the image within the area that are not white.
int InkIn(const QImage& image, QRect area);
int InkIn(const QImage& image, const Rect& area);

class MathTest : public ::testing::Test {
protected:
    MathTest();
    ~MathTest() override;

    // Characters of one face.
    std::unique_ptr<CompArray> Chars(const std::string& text, int fontId = 0);
    // One component as an array.
    static std::unique_ptr<CompArray> One(TextComp* comp);
    // An array of components (taken over).
    static std::unique_ptr<CompArray> Items(std::initializer_list<TextComp*> comps);

    // A paragraph of style 3 (plain) or 5 (equation) holding the components,
    // laid out and placed with its row's origin at paragraphOrigin.
    std::unique_ptr<ParagraphComp> Paragraph(int style, std::unique_ptr<CompArray> comps);
    // Lays out and places a paragraph again.
    void Place(ParagraphComp& paragraph) const;

    static std::string LaTeX(TextComp& comp);
    static std::string LinearText(const TextComp& comp);
    static std::vector<uint8_t> WriteRow(const CompList& row);
    // Reads a stored row into a new row; raises what the reader raises.
    static std::unique_ptr<CompList> ReadRow(const std::vector<uint8_t>& bytes);
    // The plain text of a row.
    static std::string RowText(const CompList& row);

    IntPoint paragraphOrigin{10, 50};

    SavedGlobals saved;
    TextPrefs prefs;
    FontManager fonts{prefs};
    std::unique_ptr<StyleTable> styles;
    RealItemMaker maker;
    QImage image;
    std::unique_ptr<CImageDC> dc;
};
