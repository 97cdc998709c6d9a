#pragma once
// Shared pieces of the drawing tests: the fonts of the default preferences
// for the length of a test, and a view that draws into an image.
#include "foundation/DrawContext.h"
#include "foundation/DrawTarget.h"
#include "foundation/CharComp.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/TextPrefs.h"
#include "platform/draw/ImageDC.h"
#include "support/model/SavedGlobals.h"

#include <QImage>

#include <gtest/gtest.h>

#include <vector>

class DrawTest : public ::testing::Test {
protected:
    void TearDown() override { UnwindDrawContext(); }

    TextPrefs prefs;
    FontManager fonts{prefs};
};

// A view showing a white image, scrolled to a given position.
class ImageView : public DrawTarget {
public:
    explicit ImageView(int width = 400, int height = 300) : image(width, height, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        SetImageDpi(image, 96);
    }

    CDC* CreateTargetDC() override { return new CImageDC(image); }
    void PrepareTargetDC(CDC*) override { ++prepared; }
    IntPoint TargetScrollPosition() const override { return scroll; }
    int TargetSizeLevel() const override { return sizeLevel; }
    void InvalidateTargetRect(const Rect& rect, bool erase) override { invalidated.push_back(rect); }
    void ShowTargetRect(const Rect& rect) override { shown.push_back(rect); }

    QImage image;
    IntPoint scroll;
    int sizeLevel = 5;
    int prepared = 0;
    std::vector<Rect> invalidated;
    std::vector<Rect> shown;
};

// Pixels of an image that are not white, within a rectangle (all of it by default).
int InkedPixels(const QImage& image, QRect area = {});
