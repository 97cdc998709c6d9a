#include "support/model/NumberingFixture.h"

#include "foundation/DocReader.h"
#include "foundation/DocSelection.h"
#include "foundation/ExprNode.h"
#include "support/model/TextOnlyLaTeXWriter.h"
#include "foundation/MemoryStream.h"
#include "foundation/RowNodeBuilder.h"
#include "math/CrossRefComp.h"
#include "math/RefComponents.h"
#include "platform/framework/CString.h"

#include <functional>
#include <string>
#include <vector>

namespace {

// Records the text the components and labels write.
class TextLaTeXWriter : public TextOnlyLaTeXWriter {
public:
    void WriteString(const char* text) override { out += text; }
    void BeginRow(int) override {}
    void EndRow(int) override {}
    void WriteChar(TextComp&, bool) override {}
    std::string out;
};

// A row node holding the nodes of its components, so that references
// expand into the rows they point at.
struct RowNode : ExprNode {
    ExprNode* Clone() const override { return nullptr; }
    void PutPackageForm(Link, int) const override {}
    std::vector<std::unique_ptr<ExprNode>> children;
};

class ExpandingBuilder : public RowNodeBuilder {
public:
    ExprNode* BuildNode(CompList& row) override
    {
        auto* node = new RowNode;
        for (int i = 1; i <= row.GetCount(); ++i)
            if (ExprNode* child = row.GetAt(i)->BuildNode())
                node->children.emplace_back(child);
        return node;
    }
    ExprNode* BuildTextNode(CompList& row) override { return BuildNode(row); }
};

// Section 1 | equation "x=1" | equation "y=2" | plain "see " + reference to equation 3.
class CrossRefTest : public NumberingTest {
protected:
    CrossRefTest() : list(&doc)
    {
        RegisterRefComponents();
        Add(list, "Intro", 1);
        Add(list, "x=1", 6);
        Add(list, "y=2", 6);
        Add(list, "see ", 3);
        reference = new CrossRefComp(Label(3));
        Row(4)->Append(reference);
        Relayout();
    }

    CompList* Row(int i) const { return list.GetAt(i)->GetRow(); }
    EquationLabel* Label(int i) const { return list.GetAt(i)->GetLabel(); }
    void Relayout() { list.RelayoutAll(false); }
    void Refresh()
    {
        Relayout();
        list.UpdateLayout();
    }
    static std::string Text31(const CrossRefComp& ref) { return std::string(ref.GetText().ToCString().c_str()); }
    std::unique_ptr<ParagraphList> Read(std::vector<uint8_t> bytes, DocumentModel* document)
    {
        auto read = std::make_unique<ParagraphList>(document);
        MemoryStream stream(bytes.data(), int32_t(bytes.size()));
        DocReader reader(&stream);
        read->ReadCounted(reader);
        EXPECT_EQ(stream.GetPosition(), int32_t(bytes.size()));
        return read;
    }

    TestDocument doc;
    ParagraphList list;
    CrossRefComp* reference;
};

TEST_F(CrossRefTest, ReferencesFollowRenumbering)
{
    reference->Measure();
    EXPECT_EQ(Text31(*reference), "(1.2)");
    EXPECT_EQ(reference->GetNumber(), list.GetAt(3)->GetId());

    // A numbered equation inserted before the referenced one.
    list.InsertAt(new ParagraphComp(Chars("z=0"), 6), 2);
    Relayout();
    EXPECT_EQ(Str(Label(4)->GetText()), "(1.3)");
    EXPECT_EQ(Text31(*reference), "(1.3)");

    // A reference before its label shows the new number after the same pass.
    auto* early = new CrossRefComp(Label(4));
    Row(1)->Append(early);
    list.InsertAt(new ParagraphComp(Chars("v=0"), 6), 2);
    Relayout();
    EXPECT_FALSE(early->IsDirty());
    EXPECT_FALSE(list.GetAt(1)->NeedsLayout());
    EXPECT_EQ(Text31(*early), "(1.4)");
    EXPECT_EQ(Text31(*reference), "(1.4)");

    // A second section before it restarts the equation numbers:
    // Intro | v=0 | z=0 | More | x=1 | y=2 | see (y=2).
    list.InsertAt(new ParagraphComp(Chars("More"), 1), 4);
    Refresh();
    EXPECT_EQ(Text31(*reference), "(2.2)");

    // The referenced equation cut out and put back (undo): the reference
    // keeps its text meanwhile and follows the paragraph's new id.
    auto end = [&](int i) { return DocPosition(Row(i), Row(i)->GetCount() + 1); };
    DocSelection cut(end(5), end(6));
    DocPosition at = cut.MakeDeleteRecord();
    EXPECT_EQ(Text(list), "Intro[Ref ]|v=0|z=0|More|x=1|see [Ref ]");
    Refresh();
    EXPECT_EQ(Text31(*reference), "(2.2)");
    EXPECT_NE(reference->GetLabel(), nullptr);
    cut.InsertAt(at);
    Refresh();
    EXPECT_EQ(Text(list), "Intro[Ref ]|v=0|z=0|More|x=1|y=2|see [Ref ]");
    EXPECT_EQ(Text31(*reference), "(2.2)");
    EXPECT_EQ(reference->GetNumber(), list.GetAt(6)->GetId());
    EXPECT_EQ(reference->GetLabel(), Label(6));
}

TEST_F(CrossRefTest, LabelSelectionIsCopiedAsAReference)
{
    DocSelection label(DocPosition(Row(2), 0), DocPosition(Row(2), 1));
    DocSelection copy = label.MakeCopyRecord();
    ASSERT_EQ(copy.GetStart().GetKind(), DocPosition::kWholeObject);
    auto* copied = static_cast<CrossRefComp*>(copy.GetSingleObject());
    ASSERT_EQ(copied->Tag(), tag_Ref);
    EXPECT_EQ(copied->GetLabel(), Label(2));
    copy.InsertAt(DocPosition(Row(4), 1));
    Refresh();
    EXPECT_EQ(Text31(*copied), "(1.1)");
    EXPECT_EQ(copied->GetNumber(), list.GetAt(2)->GetId());

    // A paragraph without a label copies to an empty fragment.
    DocSelection plain = DocSelection(DocPosition(Row(4), 0), DocPosition(Row(4), 1)).MakeCopyRecord();
    EXPECT_EQ(plain.GetStart().GetParagraph()->GetCount(), 1);
    EXPECT_EQ(plain.GetStart().GetParagraph()->GetAt(1)->GetRow()->GetCount(), 0);
    plain.DestroyWithParagraph();
}

TEST_F(CrossRefTest, CopiedWithItsLabelOrAlone)
{
    // The referenced equation and the reference copied together.
    DocSelection both = DocSelection(DocPosition(Row(3), 1), DocPosition(Row(4), 6)).MakeCopyRecord();
    ParagraphList* fragment = both.GetStart().GetParagraph();
    ASSERT_EQ(fragment->GetCount(), 2);
    auto* copiedRef = static_cast<CrossRefComp*>(fragment->GetAt(2)->GetRow()->GetAt(5));
    EXPECT_EQ(copiedRef->GetLabel(), fragment->GetAt(1)->GetLabel());
    EXPECT_NE(copiedRef->GetLabel(), nullptr);
    both.DestroyWithParagraph();

    // The reference alone keeps pointing at the original label.
    DocSelection alone = DocSelection(DocPosition(Row(4), 5), DocPosition(Row(4), 6)).MakeCopyRecord();
    auto* copy = static_cast<CrossRefComp*>(alone.GetSingleObject());
    EXPECT_EQ(copy->GetLabel(), Label(3));
    alone.DestroyWithParagraph();
    EXPECT_EQ(Label(3)->GetLinkCount(), 1);
}

TEST_F(CrossRefTest, DeletedOrUnlabelledTargetsLeaveTheLastText)
{
    reference->Measure();
    const int32_t id = list.GetAt(3)->GetId();
    // The equation loses its label through a style change.
    list.GetAt(3)->SetStyle(gStyleTable->GetStyle(3));
    EXPECT_EQ(reference->GetLabel(), nullptr);
    EXPECT_EQ(Text31(*reference), "(1.2)");
    reference->Measure();  // finds the paragraph by id, but it has no label
    EXPECT_EQ(reference->GetLabel(), nullptr);
    EXPECT_EQ(Text31(*reference), "(1.2)");
    EXPECT_EQ(reference->GetNumber(), id);

    // Numbered again: the reference finds the new label at its next measure.
    list.GetAt(3)->SetStyle(gStyleTable->GetStyle(6));
    Relayout();
    reference->Measure();
    EXPECT_EQ(reference->GetLabel(), Label(3));

    // Deleting the equation leaves the reference with its last number, unlinked.
    delete list.RemoveAt(3);
    EXPECT_EQ(reference->GetLabel(), nullptr);
    EXPECT_EQ(Text31(*reference), "(1.2)");
    Relayout();
    reference->Measure();
    EXPECT_EQ(reference->GetLabel(), nullptr);
    EXPECT_EQ(Text31(*reference), "(1.2)");
}

TEST_F(CrossRefTest, SelfAndMutualReferencesDoNotRecurse)
{
    ExpandingBuilder builder;
    // The test's builder is in place until the test ends, however it ends.
    struct Previous {
        RowNodeBuilder* builder = RowNodeBuilder::Get();
        ~Previous() { RowNodeBuilder::Install(builder); }
    } previous;
    RowNodeBuilder::Install(&builder);
    // Equation 2 refers to itself; equations 2 and 3 refer to each other.
    Row(2)->Append(new CrossRefComp(Label(2)));
    Row(2)->Append(new CrossRefComp(Label(3)));
    Row(3)->Append(new CrossRefComp(Label(2)));
    Refresh();
    list.UpdateLayout();
    EXPECT_FALSE(list.GetAt(2)->NeedsLayout());

    std::unique_ptr<ExprNode> node(Row(2)->BuildNode());
    auto* row = dynamic_cast<RowNode*>(node.get());
    ASSERT_NE(row, nullptr);
    std::unique_ptr<ExprNode> viaReference(reference->BuildNode());
    ASSERT_NE(viaReference, nullptr);
    // ReferenceNodeStandsForTheReference: an answer must not replace the equation.
    EXPECT_EQ(viaReference->GetSourceRange().owner, Row(4));
    EXPECT_EQ(viaReference->GetSourceRange().start, Row(4)->Find(reference));
}

TEST_F(CrossRefTest, DocumentRoundTripIsByteIdenticalAndRelinks)
{
    Row(2)->Append(new CrossRefComp(Label(4 - 1)));  // a forward reference
    // One paragraph of every other style, with references to a section and an item.
    for (int kind : {0, 2, 4, 5, 7, 8, 9, 10})
        Add(list, std::string("k").append(std::to_string(kind)), kind);
    Row(5)->Append(new CrossRefComp(Label(1)));
    Row(7)->Append(new CrossRefComp(Label(7)));
    Relayout();
    std::vector<uint8_t> first = WriteList(list);

    TestDocument other;
    auto read = Read(first, &other);
    EXPECT_EQ(WriteList(*read), first);
    EXPECT_EQ(Text(*read), Text(list));

    // Read references are unlinked until they find their labels by id.
    auto* readRef = static_cast<CrossRefComp*>(read->GetAt(4)->GetRow()->GetAt(5));
    EXPECT_EQ(readRef->GetLabel(), nullptr);
    EXPECT_EQ(Text31(*readRef), "(1.2)");
    EXPECT_EQ(LinkCrossReferences(*read), 4);
    EXPECT_EQ(readRef->GetLabel(), read->GetAt(3)->GetLabel());
    read->RelayoutAll(false);
    EXPECT_EQ(WriteList(*read), first);
}

// What a reference shows once a layout pass ends: its text, laid out (not
// waiting for a layout that no pass would run), in a paragraph laid out.
std::string Shown(const CrossRefComp& ref, const ParagraphList& list)
{
    const ParagraphComp* paragraph = ref.GetParagraph();
    if (ref.IsDirty() || !paragraph || paragraph->NeedsLayout())
        return "(waiting for layout)";
    return ref.GetText().ToCString().c_str();
}

// A reference above its equation and one below it show the equation's
// number after the document is read again and after an equation is
// inserted before it and deleted again, each laid out as the editor does:
// the whole document after reading, from the changed paragraph on after an
// edit.
TEST_F(CrossRefTest, ReferencesAboveAndBelowTheirEquationShowItsNumberAfterEveryPass)
{
    // Intro [ref to y=2] | x=1 | y=2 | see [ref to y=2].
    Row(1)->Append(new CrossRefComp(Label(3)));
    Relayout();
    TestDocument other;
    auto read = Read(WriteList(list), &other);
    read->RelayoutAll(false);
    auto refs = [](ParagraphList& l) {
        return std::pair{static_cast<CrossRefComp*>(l.GetAt(1)->GetRow()->GetAt(6)),
                         static_cast<CrossRefComp*>(l.GetAt(l.GetCount())->GetRow()->GetAt(5))};
    };
    auto [above, below] = refs(*read);
    EXPECT_EQ(Shown(*above, *read), "(1.2)") << "reopened, above";
    EXPECT_EQ(Shown(*below, *read), "(1.2)") << "reopened, below";

    struct Step {
        const char* edit;
        std::function<int(ParagraphList&)> apply; // answers the paragraph to lay out from
        const char* number;
    } steps[] = {
        {"a numbered equation inserted before the target",
         [this](ParagraphList& l) {
             l.InsertAt(new ParagraphComp(Chars("z=0"), 6), 2);
             return 2;
         },
         "(1.3)"},
        {"the inserted equation deleted again",
         [](ParagraphList& l) {
             delete l.RemoveAt(2);
             return 2;
         },
         "(1.2)"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.edit);
        read->UpdateLayoutFrom(step.apply(*read), 1);
        EXPECT_EQ(Shown(*above, *read), step.number);
        EXPECT_EQ(Shown(*below, *read), step.number);
    }
}

TEST_F(CrossRefTest, OverlongStoredTextIsCut)
{
    // "Ref " record fields: number 5, a length byte of 200 and 200 characters.
    std::vector<uint8_t> bytes = {5, 0, 0, 0, 200};
    for (int i = 0; i < 200; ++i)
        bytes.push_back(uint8_t('a' + i % 26));
    bytes.push_back(0x7F);  // the next field
    MemoryStream stream(bytes.data(), int32_t(bytes.size()));
    DocReader reader(&stream);
    CrossRefComp ref;
    ref.Read(reader);
    EXPECT_EQ(ref.GetNumber(), 5);
    EXPECT_EQ(ref.GetText().GetLength(), 31);
    EXPECT_EQ(reader.ReadByte(), 0x7F);
}

TEST_F(CrossRefTest, LaTeXFormsOfLabelsAndReferences)
{
    CrossRefComp unlinked(-4, Str31("[7]"));
    const std::pair<std::function<void(TextOnlyLaTeXWriter&)>, const char*> cases[] = {
        {[&](TextOnlyLaTeXWriter& w) { Label(3)->WriteLaTeXLabel(w); }, "\\label{1.2}"},
        {[&](TextOnlyLaTeXWriter& w) { Label(1)->WriteLaTeXLabel(w); }, "\\label{sec1}"},
        {[&](TextOnlyLaTeXWriter& w) { reference->WriteLaTeX(w); }, "\\ref{1.2}"},
        {[&](TextOnlyLaTeXWriter& w) { unlinked.WriteLaTeX(w); }, "[7]"},
    };
    for (const auto& [write, expected] : cases) {
        TextLaTeXWriter latex;
        write(latex);
        EXPECT_EQ(latex.out, expected);
    }
}

TEST_F(CrossRefTest, ReferencesAcrossDocuments)
{
    TestDocument otherDoc;
    ParagraphList other(&otherDoc);
    Add(other, "", 3);
    auto* far = new CrossRefComp(Label(3));
    other.GetAt(1)->GetRow()->Append(far);
    far->Measure();
    EXPECT_EQ(far->GetNumber(), -list.GetAt(3)->GetId());
    EXPECT_EQ(Text31(*far), "[1.2]");
}

} // namespace

namespace {

// The program's own styles: equation numbers run through the document and
// references to other documents use brackets.
class ProgramStyleRefTest : public ModelTest {
protected:
    ProgramStyleRefTest() { gStyleTable = &program; }
    void Number(ParagraphList& list)
    {
        EquationNumber counters;
        for (int i = 1; i <= list.GetCount(); ++i)
            list.GetAt(i)->AdvanceCounters(counters);
    }
    static std::string Text31(const CrossRefComp& ref) { return std::string(ref.GetText().ToCString().c_str()); }

    SavedGlobals savedProgram;
    StyleTable program;
};

TEST_F(ProgramStyleRefTest, NumberedEquationReferencesFollowInsertion)
{
    RegisterRefComponents();
    TestDocument doc;
    ParagraphList list(&doc);
    list.Append(new ParagraphComp(Chars("One"), 1));
    list.Append(new ParagraphComp(Chars("x=1"), 6));
    list.Append(new ParagraphComp(Chars("y=2"), 6));
    list.Append(new ParagraphComp(Chars("see "), 3));
    Number(list);
    auto* reference = new CrossRefComp(list.GetAt(3)->GetLabel());
    list.GetAt(4)->GetRow()->Append(reference);
    EXPECT_EQ(Text31(*reference), "(2)");

    list.InsertAt(new ParagraphComp(Chars("z=0"), 6), 2);
    Number(list);
    EXPECT_TRUE(reference->IsDirty());
    reference->UpdateText();
    EXPECT_EQ(Text31(*reference), "(3)");
}

} // namespace
