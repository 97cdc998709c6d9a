#pragma once
// The fonts, text layout, component classes and math reader that the writer
// tests need, and rows made of text in a face.
#include "XhtmlTestSupport.h"

#include "foundation/CompList.h"
#include "foundation/FontManager.h"
#include "foundation/TextPrefs.h"
#include "support/model/SavedGlobals.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class ParagraphComp;

class WriterFixture : public ::testing::Test {
protected:
    WriterFixture();
    ~WriterFixture() override;

    // Appends the text to the row, each character in the face.
    void Append(CompList& row, const std::string& text, int fontId);
    // A paragraph of the style holding the text in the face.
    ParagraphComp* Paragraph(int style, const std::string& text, int fontId);
    // The whole page for the paragraphs added so far.
    std::string Page();

    SavedGlobals saved;
    TextPrefs prefs;
    FontManager fonts{prefs};
    std::unique_ptr<class ParagraphList> paragraphs;
};
