#pragma once
// The fixture of the grid and object component tests: the fixed-size items
// of the model tests (10 units per character, runs from -8 to 2), measuring
// on a 96-dpi device at size level 5 (size unit 2, axis -1), the classes of
// this library registered, and recorders for the export forms.
#include "support/model/ModelTestSupport.h"

#include "foundation/ComponentRegistry.h"
#include "foundation/DocPosition.h"
#include "foundation/DocReader.h"
#include "foundation/DocSelection.h"
#include "foundation/DrawContext.h"
#include "foundation/LinkRemap.h"
#include "foundation/MemoryStream.h"
#include "math/EquationSetComp.h"
#include "math/ExportElementWriters.h"
#include "math/GridComp.h"
#include "math/HyperlinkComp.h"
#include "math/MatrixComp.h"
#include "math/PictureComp.h"
#include "math/SplitDefinitionComp.h"
#include "math/TableComp.h"
#include "platform/Exceptions.h"
#include "platform/draw/MeasureDC.h"
#include "support/model/TextOnlyLaTeXWriter.h"

#include <string>
#include <vector>

// Writes LaTeX into a string: characters as themselves, plain rows bare,
// pictures and document links as bracketed notes.
class RecordingLaTeX : public TextOnlyLaTeXWriter, public LaTeXObjectWriter {
public:
    std::string text;
    void BeginRow(int mode) override { text += mode == 1 ? "{" : ""; }
    void EndRow(int mode) override { text += mode == 1 ? "}" : ""; }
    void WriteString(const char* s) override { text += s; }
    void WriteChar(TextComp& comp, bool) override;
    void WritePicture(int width, int height, HENHMETAFILE picture) override;
    void WriteDocLink(const Str255& url, const Str255& label) override;
    void WriteReference(const Str255& name, const Str255&) override { text += "[ref " + std::string(name.GetText()) + "]"; }
};

// Element output as text: "<name a=v>", "</name>", cells as "[row text]",
// images as "[img WxH]".
class RecordingElements : public HtmlElementWriter, public XhtmlElementWriter {
public:
    std::string text;
    std::vector<std::string> names;

    void OpenElement(const char* name) override;
    void AddAttribute(const char* name, const char* value) override;
    void CloseStartTag() override { text += ">"; }
    void WriteEndTag(const char* name) override;
    void WriteRowHtml(CompList& row) override;
    void StartElement(const char* name, bool) override { OpenElement(name); }
    void WriteAttribute(const char* name, const char* value) override { AddAttribute(name, value); }
    void EndPendingTag(bool) override { CloseStartTag(); }
    void EndElement(const char* name, bool) override { WriteEndTag(name); }
    void WriteEquationImage(HENHMETAFILE picture, const Rect& rect) override;
};

// Stands for an absolute value around its one row.
class TestAbs : public StructComp {
public:
    TextComp* Clone(LinkRemap&) override { return new TestAbs; }
    void GetTag(TypeTag& out) const override { out = tag_AbsV; }
};

// Points compare by their coordinates.
inline bool SamePoint(const IntPoint& a, const IntPoint& b)
{
    return a.x == b.x && a.y == b.y;
}
#define EXPECT_POINT(actual, x, y) EXPECT_PRED2(SamePoint, actual, IntPoint(x, y))

class GridTest : public ModelTest {
public:
    using ModelTest::Store;
    using ModelTest::Text;

protected:
    GridTest();
    ~GridTest() override;

    // A row of the text's characters in the text face.
    CompList* Row(const std::string& text) { return new CompList(Chars(text)); }
    // Fills the cells in row-major order with the texts.
    void Fill(GridComp& grid, const std::vector<std::string>& texts);
    static std::string LaTeX(TextComp& comp);
    static std::string LinearText(const TextComp& comp);

    CMeasureDC dc{96};
};
