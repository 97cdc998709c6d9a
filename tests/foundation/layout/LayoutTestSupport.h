#pragma once
// Shared pieces of the text layout tests: the program's paragraph styles and
// layout items, the fonts of the default preferences, and a drawing context
// on a white 96-dpi image at base size level 5.
#include "foundation/BoxComp.h"
#include "foundation/CompList.h"
#include "foundation/DocumentModel.h"
#include "foundation/DrawContext.h"
#include "foundation/DrawTarget.h"
#include "foundation/CharComp.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/Layout.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/StyleTable.h"
#include "foundation/TextPrefs.h"
#include "platform/draw/ImageDC.h"
#include "support/model/SavedGlobals.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class ImageTarget : public DrawTarget {
public:
    CDC* CreateTargetDC() override { return nullptr; }
    void PrepareTargetDC(CDC*) override {}
    IntPoint TargetScrollPosition() const override { return {}; }
    int TargetSizeLevel() const override { return 5; }
    void InvalidateTargetRect(const Rect& rect, bool) override { invalidated.push_back(rect); }
    void ShowTargetRect(const Rect&) override {}

    std::vector<Rect> invalidated;
};

// A document handing out paragraph ids 1, 2, 3, ...
class LayoutDocument : public DocumentModel {
public:
    int32_t GetDocId() const override { return 3; }
    void RegisterParagraph(ParagraphComp& paragraph) override { paragraph.SetId(nextId++); }
    void UnregisterParagraph(ParagraphComp& paragraph) override { paragraph.SetId(0); }
    bool LargerEquations() const override { return larger; }
    bool NumberPrintedPages() const override { return false; }
    int16_t FirstPageNumber() const override { return 1; }

    int32_t nextId = 1;
    bool larger = false;
};

class LayoutTest : public ::testing::Test {
protected:
    LayoutTest();
    ~LayoutTest() override;

    // The characters of the text in a face.
    std::unique_ptr<CompArray> Chars(const std::string& text, int fontId = 0);
    // A paragraph of a style holding the text in the style's font.
    ParagraphComp* Paragraph(int kind, const std::string& text);
    // Lays the paragraph out alone at the page's margins.
    void LayOut(ParagraphComp& paragraph, ParagraphComp* previous = nullptr);
    // The items of a laid-out row as "tag@start:left-right" (absolute).
    static std::vector<std::string> Items(const CompList& row);
    static std::vector<Layout*> ItemsOf(const CompList& row, TypeTag tag);
    static int Width(const std::string& text, int fontId, int step = 0);

    int PageWidth() const { return gDrawContext.GetPageWidth(); }
    int PageHeight() const { return gDrawContext.GetPageHeight(); }
    int LeftMargin() const { return gDrawContext.GetLeftMargin(); }
    int TopMargin() const { return gDrawContext.GetTopMargin(); }

    SavedGlobals saved;
    QImage image{900, 700, QImage::Format_RGB32};
    std::unique_ptr<CImageDC> dc;
    ImageTarget target;
    TextPrefs prefs;
    FontManager fonts{prefs};
    StyleTable styles;
    LayoutDocument document;
};

// A component of fixed bounds standing in for a math structure.
class FixedBox : public BoxComp {
public:
    explicit FixedBox(int width, int ascent = 12, int descent = 6)
        : m_width(width), m_ascent(ascent), m_descent(descent)
    {}
    TextComp* Clone(LinkRemap&) override { return new FixedBox(m_width, m_ascent, m_descent); }
    void GetTag(TypeTag& out) const override { out = tag_Frac; }
    // A change inside the component: its row is told, not which place changed.
    void Resize(int width, int ascent = 12, int descent = 6)
    {
        m_width = width;
        m_ascent = ascent;
        m_descent = descent;
        Invalidate();
    }
    void Measure() override
    {
        m_bounds = Rect(0, -m_ascent, m_width, m_descent);
        m_needsLayout = 0;
    }
    void Draw() override;

    // How many times boxes were drawn.
    static inline int draws = 0;

private:
    int m_width;
    int m_ascent;
    int m_descent;
};
