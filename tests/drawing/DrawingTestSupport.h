#pragma once
// The fixture of the drawing tests: the drawing and math component classes,
// the program's layout items, the fonts of the default preferences and a
// 96-dpi image the drawing context measures and draws on. It builds a
// sample document of two paragraphs with drawings that share vertices,
// show values and refer to each other's variables.
#include "drawing/DiagramComp.h"
#include "foundation/DrawTarget.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextPrefs.h"
#include "platform/draw/ImageDC.h"
#include "support/model/ModelTestSupport.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

class CircleShape;
class VertexShape;

class DrawingScreen : public DrawTarget {
public:
    CDC* CreateTargetDC() override { return nullptr; }
    void PrepareTargetDC(CDC*) override {}
    IntPoint TargetScrollPosition() const override { return IntPoint(0, 0); }
    int TargetSizeLevel() const override { return 5; }
    void InvalidateTargetRect(const Rect&, bool) override {}
    void ShowTargetRect(const Rect&) override {}
};

// The items of the sample drawing, for tests that look at them.
struct SampleParts {
    DiagramComp* diagram = nullptr;
    VertexShape* a = nullptr;  // a free vertex with a coordinate label, also the centre of c1
    VertexShape* b = nullptr;  // the centre shared by c2 and c3
    CircleShape* c1 = nullptr;
    CircleShape* c2 = nullptr;
    CircleShape* c3 = nullptr;
};

// Paragraph lists free their paragraphs when asked to.
struct ListDeleter {
    void operator()(ParagraphList* list) const;
};
using ListPtr = std::unique_ptr<ParagraphList, ListDeleter>;

class DrawingTest : public ::testing::Test {
protected:
    DrawingTest();
    ~DrawingTest() override;

    // A 298 x 224 pixel drawing: circle c1 around the labelled vertex a
    // (listed after the circle, so its body is written inside c1's), two
    // circles around one centre b, a free label "r=" with c1's radius, and
    // a named variable "a".
    SampleParts MakeSample();
    // Two paragraphs: text and the sample; a copy of the sample and a value
    // display of the first sample's vertex.
    ListPtr MakeSampleDocument();
    ListPtr NewList();

    static std::vector<uint8_t> WriteList(const ParagraphList& list);
    // Reads the paragraphs and binds the value displays; raises what the reader raises.
    ListPtr ReadList(const std::vector<uint8_t>& bytes);
    static std::vector<uint8_t> WriteComponent(TextComp& comp);
    // Reads one component record (links bound); raises what the reader raises.
    static std::unique_ptr<TextComp, void (*)(TextComp*)> ReadComponent(const std::vector<uint8_t>& bytes);

    static QString OutputDir();

    TextPrefs prefs;
    FontManager fonts{prefs};
    TestDocument document;
    DrawingScreen screen;
    QImage image;
    std::unique_ptr<CImageDC> dc;
};
