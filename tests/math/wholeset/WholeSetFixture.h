#pragma once
// The fixture of the whole-set tests: every math component class registered,
// the program's own layout items and paragraph styles, the fonts of the
// default preferences, and a 96-dpi image the drawing context measures and
// draws on. It builds rows holding every component, nested in each other.
#include "foundation/CompList.h"
#include "foundation/DrawTarget.h"
#include "foundation/CharComp.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextPrefs.h"
#include "foundation/TypeTag.h"
#include "platform/draw/EnhMetafile.h"
#include "platform/draw/ImageDC.h"
#include "support/model/ModelTestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

class WholeSetScreen : public DrawTarget {
public:
    CDC* CreateTargetDC() override { return nullptr; }
    void PrepareTargetDC(CDC*) override {}
    IntPoint TargetScrollPosition() const override { return IntPoint(0, 0); }
    int TargetSizeLevel() const override { return 5; }
    void InvalidateTargetRect(const Rect&, bool) override {}
    void ShowTargetRect(const Rect&) override {}
};

class WholeSetTest : public ::testing::Test {
protected:
    WholeSetTest();
    ~WholeSetTest() override;

    // Characters of the text face.
    std::unique_ptr<CompArray> Chars(const std::string& text);
    // The components given, in a new array (taken over).
    static std::unique_ptr<CompArray> Items(std::initializer_list<TextComp*> comps);

    // A row holding every component of the math library, nested: a fraction
    // whose numerator holds an integral with a sum in its lower limit, a
    // matrix cell with a radical around a derivative, an equation set with a
    // limit and a subscript, a split definition, a table, scripts, fences,
    // accents, a cross-reference, a hyperlink and a picture.
    std::unique_ptr<CompArray> EveryComponentNested();
    // Each component once, side by side, for drawing in one line.
    std::unique_ptr<CompArray> EveryComponentInALine();

    // The tags of the components in the row and in all rows they hold.
    static void CollectTags(const CompList& row, std::set<uint32_t>& tags);
    static std::vector<uint8_t> WriteRow(const CompList& row);
    static std::unique_ptr<CompList> ReadRow(const std::vector<uint8_t>& bytes);

    TextPrefs prefs;
    FontManager fonts{prefs};
    TestDocument document;
    WholeSetScreen screen;
    QImage image;
    std::unique_ptr<CImageDC> dc;

private:
    HENHMETAFILE m_drawing = nullptr;
};

// Every tag of the math library.
const std::vector<TypeTag>& MathTags();
std::string TagName(uint32_t tag);
