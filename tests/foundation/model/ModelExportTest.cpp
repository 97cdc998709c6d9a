#include "support/model/ModelTestSupport.h"

#include "foundation/HTMLWriter.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/NotebookWriter.h"
#include "foundation/XMLWriter.h"

#include <string>

namespace {

// Records the writer calls as text: "(" name ")" for frame calls, the
// characters of rows as they are, structures as "[tag]".
class RecordingLaTeX : public LaTeXWriter {
public:
    std::string log;

    void BeginDocument(bool numberPages, int16_t firstPage) override { log += "<doc>"; }
    void WriteEnd() override { log += "</doc>"; }
    void BeginRow(int mode) override { log += "<row" + std::to_string(mode) + ">"; }
    void EndRow(int mode) override { log += "</row>"; }
    void WriteString(const char* text) override { log += text; }
    void WriteText(std::string_view bytes, LaTeXPlace) override { log += bytes; }
    void WriteChar(TextComp& comp, bool align) override
    {
        if (comp.Tag() == tag_Char) {
            log += char(comp.GetChar());
        } else {
            char tag[5];
            comp.Tag().ToChars(tag);
            log += std::string("[") + tag + "]";
        }
    }
    void BeginTitle() override { log += "<title>"; }
    void EndTitle() override { log += "</title>"; }
    void BeginSection(EquationLabel* label) override { log += label ? "<section#>" : "<section>"; }
    void EndSection(EquationLabel*) override { log += "</section>"; }
    void BeginHeading() override { log += "<heading>"; }
    void EndHeading() override { log += "</heading>"; }
    void BeginParagraph(bool noIndent) override { log += noIndent ? "<p noindent>" : "<p>"; }
    void BeginEnumeratedItem(EquationLabel*) override { log += "<enum>"; }
    void EndEnumeratedItem(EquationLabel*) override { log += "</enum>"; }
    void BeginDisplayMath() override { log += "<math>"; }
    void EndDisplayMath() override { log += "</math>"; }
    void BeginNumberedEquation(EquationLabel* label) override { log += label ? "<eqn#>" : "<eqn>"; }
    void EndNumberedEquation(EquationLabel*) override { log += "</eqn>"; }
    void BeginVerbatim() override { log += "<verbatim>"; }
    void NewLine() override { log += "<nl>"; }
    void BeginItemizedItem() override { log += "<item>"; }
    void BeginSubEnumeratedItem(EquationLabel*) override { log += "<subenum>"; }
    void EndSubEnumeratedItem(EquationLabel*) override { log += "</subenum>"; }
    void BeginSubItemizedItem() override { log += "<subitem>"; }
    void EndItem() override { log += "<end>"; }
    void BeginEqnarray() override { log += "<eqnarray>"; }
    void EndEqnarray() override { log += "</eqnarray>"; }
};

class RecordingHtml : public HTMLWriter {
public:
    std::string log;
    void WriteHead() override { log += "<head>"; }
    void WriteTail() override { log += "<tail>"; }
    void WriteTitle(CompList&) override { log += "title;"; }
    void WriteHeading2(CompList&) override { log += "h2;"; }
    void WriteHeading3(CompList&) override { log += "h3;"; }
    void WriteParagraph(CompList&) override { log += "p;"; }
    void WriteEnumeratedItem(CompList&) override { log += "enum;"; }
    void WritePlainEquation(CompList&) override { log += "eq;"; }
    void WriteNumberedEquation(CompList&, const Str255& label) override { log += std::string("eqn") + label.GetText() + ";"; }
    void WriteSourceCode(CompList&) override { log += "code;"; }
    void WriteItemizedItem(CompList&) override { log += "item;"; }
    void WriteSubEnumeratedItem(CompList&) override { log += "subenum;"; }
    void WriteSubItemizedItem(CompList&) override { log += "subitem;"; }
};

// A picture-like object with an HTML form of its own.
class TestPicture : public BoxComp, public HtmlForm {
public:
    TextComp* Clone(LinkRemap&) override { return new TestPicture; }
    void GetTag(TypeTag& out) const override { out = tag_Meta; }
    void WriteHtml(HTMLWriter& writer) override { static_cast<RecordingHtml&>(writer).log += "picture;"; }
};

} // namespace

using ModelExportTest = ModelTest;

TEST_F(ModelExportTest, LaTeXOpensAndClosesEveryStyle)
{
    ParagraphList list;
    for (int kind = 0; kind <= 10; ++kind)
        list.Append(new ParagraphComp(Chars("x"), kind));
    RecordingLaTeX writer;
    list.WriteLaTeX(writer);
    // Kind 7 holds a text-face character, so it is written as a plain paragraph.
    EXPECT_EQ(writer.log, "<doc><title>x</title><section#>x</section><heading>x</heading><p>x<end><enum>x</enum>"
                          "<math>x</math><eqn#>x</eqn><p>x<end><item>x<end><subenum>x</subenum><subitem>x<end></doc>");

    writer.log.clear();
    ParagraphComp code(Chars("\tif", 4), 7);
    code.WriteLaTeX(writer);
    ParagraphComp indented(Chars(" a"), 3);
    indented.WriteLaTeX(writer);
    EXPECT_EQ(writer.log, "<verbatim>\tif<nl><p noindent> a<end>");
}

TEST_F(ModelExportTest, RowsInAlignModeStartInTheLastColumnWithoutARelation)
{
    RecordingLaTeX writer;
    CompList plain(Chars("a+b"));
    plain.WriteLaTeX(writer, 2, true);
    CompList relation(Chars("a=b"));
    relation.WriteLaTeX(writer, 2, true);
    plain.WriteLaTeX(writer, 1, false);
    EXPECT_EQ(writer.log, "<row2> & & a+b</row><row2>a=b</row><row1>a+b</row>");
}

TEST_F(ModelExportTest, HtmlByStyleAndObjectsOnTheirOwn)
{
    ParagraphList list;
    for (int kind : {0, 6, 7, 10})
        list.Append(new ParagraphComp(Chars("x"), kind));
    list.RelayoutAll(false);
    auto comps = std::make_unique<CompArray>();
    comps->Append(new TestPicture);
    list.Append(new ParagraphComp(std::move(comps), 3));
    auto two = Chars("a");
    two->Append(new TestPicture);
    list.Append(new ParagraphComp(std::move(two), 3));

    RecordingHtml writer;
    list.WriteHTML(writer);
    EXPECT_EQ(writer.log, "<head>title;eqn(1);code;subitem;picture;p;<tail>");
}
