#pragma once
// Documents made and stored without a window: the fonts, styles and
// component classes a document needs, small builders, the bytes a document
// writes, files under the test output folder, and a view that records what
// the document asks of it.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/CCorvellDoc.h"
#include "app/DocumentViewSeam.h"
#include "foundation/CharComp.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/TextPrefs.h"
#include "platform/framework/CView.h"

#include <QImage>

class CImageDC;
class ParagraphComp;
class ParagraphList;

// A byte image built by hand, little-endian.
struct Bytes {
    std::vector<uint8_t> b;

    Bytes& Byte(int v)
    {
        b.push_back(uint8_t(v));
        return *this;
    }
    Bytes& Short(int v) { return Byte(v & 0xFF).Byte((v >> 8) & 0xFF); }
    Bytes& Long(int64_t v)
    {
        for (int i = 0; i < 4; ++i)
            Byte(int((uint64_t(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& Append(const std::vector<uint8_t>& o)
    {
        b.insert(b.end(), o.begin(), o.end());
        return *this;
    }
    Bytes& Section(int id, const Bytes& body) { return Short(id).Long(int64_t(body.b.size())).Append(body.b); }
};

class RecordingView : public CView, public DocumentViewSeam {
public:
    void OnDraw(CDC*) override {}
    void SetParagraphList(ParagraphList* list) override { paragraphs = list; }
    void SetSlideList(SlideList* list) override { slides = list; }
    void StoreFramePlacement(DisplayRecord& record) override;
    void ApplyFramePlacement(const DisplayRecord& record) override { applied.push_back(record.right); }
    void SetSelection(const DocSelection&, bool redraw) override { selections += redraw ? 2 : 1; }
    void ScrollToShow(const DocSelection&) override { ++scrolls; }

    ParagraphList* paragraphs = nullptr;
    SlideList* slides = nullptr;
    int32_t frameRight = 0; // stored into the record when not 0
    std::vector<int32_t> applied;
    int selections = 0;
    int scrolls = 0;
};

// While it lives, the drawing context draws on a 96-dpi screen of 816 x 1056
// pixels, on which the paragraphs are laid out first (pictures take its
// resolution); when it goes, it unwinds the drawing context.
class ScreenLayout {
public:
    explicit ScreenLayout(ParagraphList& list);
    ~ScreenLayout();
    ScreenLayout(const ScreenLayout&) = delete;
    ScreenLayout& operator=(const ScreenLayout&) = delete;

private:
    QImage m_image;
    std::unique_ptr<CImageDC> m_dc;
};

class DocumentTest : public ::testing::Test {
protected:
    DocumentTest();
    ~DocumentTest() override;

    // A new document titled "Doc1" that no view deletes.
    std::unique_ptr<CCorvellDoc> NewDocument();
    std::unique_ptr<CCorvellDoc> EmptyDocument();
    // Appends a paragraph holding the text in its style's face.
    ParagraphComp* AddParagraph(CCorvellDoc& doc, const std::string& text, int style = 3);
    // The paragraphs' texts joined by "|".
    static std::string Text(const CCorvellDoc& doc);
    // What the document writes (the whole-file form).
    static std::vector<uint8_t> Store(CCorvellDoc& doc);
    // Reads bytes into an emptied document; throws what the reader throws.
    static void Load(CCorvellDoc& doc, std::vector<uint8_t> bytes);

    std::string OutputPath(const std::string& name) const;
    static std::vector<uint8_t> ReadFile(const std::string& path);
    static void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

    TextPrefs prefs;
    FontManager fonts{prefs};
    std::string folder;
};
