#include "WholeSetFixture.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/MemoryStream.h"
#include "foundation/TextLayoutItemMaker.h"
#include "math/AbsValueComp.h"
#include "math/AccentComp.h"
#include "math/BracketComp.h"
#include "math/CalculusComponents.h"
#include "math/ConjugateComp.h"
#include "math/CrossRefComp.h"
#include "math/EquationSetComp.h"
#include "math/ExponentComp.h"
#include "math/FractionAndDelimiterComponents.h"
#include "math/FractionComp.h"
#include "math/GridAndObjectComponents.h"
#include "math/HyperlinkComp.h"
#include "math/IntegralComp.h"
#include "math/LimitComp.h"
#include "math/MatrixComp.h"
#include "math/ParenComp.h"
#include "math/PartialDerivativeComp.h"
#include "math/PictureComp.h"
#include "math/PlaceholderComp.h"
#include "math/ProductComp.h"
#include "math/RadicalComp.h"
#include "math/RefComponents.h"
#include "math/SplitDefinitionComp.h"
#include "math/SubscriptComp.h"
#include "math/SumComp.h"
#include "math/TableComp.h"
#include "math/TagVarComp.h"
#include "math/TotalDerivativeComp.h"
#include "support/model/ArchiveStore.h"

WholeSetTest::WholeSetTest() : image(900, 240, QImage::Format_RGB32)
{
    RegisterFractionAndDelimiterComponents();
    RegisterCalculusComponents();
    RegisterGridAndObjectComponents();
    RegisterRefComponents();
    InstallTextLayout();
    image.fill(Qt::white);
    SetImageDpi(image, 96);
    dc = std::make_unique<CImageDC>(image);
    gDrawContext.BeginDrawOnDC(&screen, dc.get());
    gDrawContext.SetBaseSize(DrawContext::kDefaultBaseSize);
    gDrawContext.SetFontFamily(0);

    gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 40, 20));
    gDrawContext.DrawRectangle(Rect(0, 0, 40, 20));
    gDrawContext.DrawLine(IntPoint(0, 0), IntPoint(40, 20));
    m_drawing = gDrawContext.EndMetafile();
}

WholeSetTest::~WholeSetTest()
{
    DrawContext::DeleteMetafile(m_drawing);
    UnwindDrawContext();
}

std::unique_ptr<CompArray> WholeSetTest::Chars(const std::string& text)
{
    auto array = std::make_unique<CompArray>();
    for (char c : text)
        array->Append(fonts.GetFace(0)->GetCharacter(static_cast<unsigned char>(c)));
    return array;
}

std::unique_ptr<CompArray> WholeSetTest::Items(std::initializer_list<TextComp*> comps)
{
    auto array = std::make_unique<CompArray>();
    for (TextComp* comp : comps)
        array->Append(comp);
    return array;
}

namespace {

void Fill(CompList* cell, std::unique_ptr<CompArray> items)
{
    for (int i = 1; i <= items->GetCount(); ++i)
        cell->Append(items->GetAt(i));
}

} // namespace

std::unique_ptr<CompArray> WholeSetTest::EveryComponentNested()
{
    // (sum_{i=1}^{n} i) as the lower limit of an integral over x of x^2 dx,
    // all over 2x.
    auto* sum = new SumComp(Chars("n"), Chars("i=1"));
    auto* integral = new IntegralComp(Items({fonts.GetFace(0)->GetCharacter('x'), new ExponentComp(Chars("2"))}),
                                      Chars("x"), Chars("b"), Items({sum}));
    auto* fraction = new FractionComp(Items({integral}), Chars("2x"));

    // A matrix whose first cell holds the cube root of d^2 f / dx^2, and
    // whose last holds a partial derivative in x and y.
    auto* matrix = new MatrixComp(2, 2);
    auto* total = new TotalDerivativeComp(Chars("f"), new TotalDifferentialComp(Chars("x"), Chars("2")));
    Fill(matrix->GetCell(1, 1), Items({new RadicalComp(Items({total}), Chars("3"))}));
    Fill(matrix->GetCell(2, 1), Chars("0"));
    Fill(matrix->GetCell(1, 2), Items({new PlaceholderComp}));
    auto* partial = new PartialDerivativeComp(Chars("g"), new PartialDifferentialComp(Chars("x"), Chars("")));
    partial->InsertVariable(2, new PartialDifferentialComp(Chars("y"), Chars("2")));
    Fill(matrix->GetCell(2, 2), Items({partial}));

    // An equation set: lim_{x->0} a_i, and a product of conjugates.
    auto* set = new EquationSetComp(2);
    Fill(set->GetCell(1, 1), Items({new LimitComp(Chars("x->0")), fonts.GetFace(0)->GetCharacter('a'),
                                    new SubscriptComp(Chars("i"))}));
    Fill(set->GetCell(1, 2), Items({new ProductComp(Chars("n"), Chars("k=1")), new ConjugateComp(Chars("z"))}));

    // A split definition with fences, an accent and a tagged variable.
    auto* split = new SplitDefinitionComp(2);
    Fill(split->GetCell(1, 1), Items({new AbsValueComp(Chars("x")), new AccentComp(Chars("v"), AccentComp::kVector)}));
    Fill(split->GetCell(2, 1), Chars("x>0"));
    Fill(split->GetCell(1, 2), Items({new BracketComp(Items({new ParenComp(Chars("y+1"))}))}));
    Fill(split->GetCell(2, 2), Items({new TagVarComp(Chars("t"), 7)}));

    auto* table = new TableComp(2, 1);
    Fill(table->GetCell(1, 1), Items({new HyperlinkComp("http://example.org/a", "see a", true)}));
    Fill(table->GetCell(2, 1), Items({new CrossRefComp(12, "(1.2)")}));

    return Items({fraction, matrix, set, split, table, new PictureComp(m_drawing)});
}

std::unique_ptr<CompArray> WholeSetTest::EveryComponentInALine()
{
    auto* matrix = new MatrixComp(2, 2);
    Fill(matrix->GetCell(1, 1), Chars("a"));
    Fill(matrix->GetCell(2, 1), Chars("b"));
    Fill(matrix->GetCell(1, 2), Chars("c"));
    Fill(matrix->GetCell(2, 2), Items({new PlaceholderComp}));
    auto* set = new EquationSetComp(2);
    Fill(set->GetCell(1, 1), Chars("x=1"));
    Fill(set->GetCell(1, 2), Chars("y=2"));
    auto* split = new SplitDefinitionComp(2);
    Fill(split->GetCell(1, 1), Chars("1"));
    Fill(split->GetCell(2, 1), Chars("x>0"));
    Fill(split->GetCell(1, 2), Chars("0"));
    Fill(split->GetCell(2, 2), Chars("x<0"));
    auto* table = new TableComp(2, 1);
    Fill(table->GetCell(1, 1), Chars("p"));
    Fill(table->GetCell(2, 1), Chars("q"));
    auto* partial = new PartialDerivativeComp(Chars("g"), new PartialDifferentialComp(Chars("x"), Chars("")));
    partial->InsertVariable(2, new PartialDifferentialComp(Chars("y"), Chars("2")));

    return Items({new FractionComp(Chars("a"), Chars("2x")),
                  fonts.GetFace(0)->GetCharacter('x'),
                  new ExponentComp(Chars("2")),
                  fonts.GetFace(0)->GetCharacter('a'),
                  new SubscriptComp(Chars("i")),
                  new AbsValueComp(Chars("x")),
                  new BracketComp(Chars("y")),
                  new ParenComp(Chars("z")),
                  new ConjugateComp(Chars("z")),
                  new AccentComp(Chars("v"), AccentComp::kHat),
                  new IntegralComp(Chars("x"), Chars("x"), Chars("b"), Chars("a")),
                  new SumComp(Chars("n"), Chars("i=1")),
                  new ProductComp(Chars("n"), Chars("k=1")),
                  new RadicalComp(Chars("r"), Chars("3")),
                  new LimitComp(Chars("x->0")),
                  new TagVarComp(Chars("t"), 7),
                  new TotalDerivativeComp(Chars("f"), new TotalDifferentialComp(Chars("x"), Chars("2"))),
                  partial,
                  matrix,
                  set,
                  split,
                  table,
                  new HyperlinkComp("http://example.org/a", "link", true),
                  new CrossRefComp(12, "(1.2)"),
                  new PictureComp(m_drawing)});
}

void WholeSetTest::CollectTags(const CompList& row, std::set<uint32_t>& tags)
{
    for (int i = 1; i <= row.GetCount(); ++i) {
        TextComp* comp = row.GetAt(i);
        tags.insert(comp->Tag().Value());
        for (int k = 1; k <= comp->GetChildCount(); ++k)
            if (const CompList* child = comp->GetChild(k))
                CollectTags(*child, tags);
    }
}

std::vector<uint8_t> WholeSetTest::WriteRow(const CompList& row)
{
    return StoreArchive([&row](DocWriter& writer) { row.Write(writer); });
}

std::unique_ptr<CompList> WholeSetTest::ReadRow(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> copy = bytes;
    MemoryStream stream(copy.data(), static_cast<int32_t>(copy.size()));
    DocReader reader(&stream);
    auto row = std::make_unique<CompList>();
    row->Read(reader);
    EXPECT_EQ(stream.GetPosition(), static_cast<int32_t>(copy.size()));
    return row;
}

const std::vector<TypeTag>& MathTags()
{
    static const std::vector<TypeTag> tags = {
        tag_Frac, tag_Expo, tag_Subs, tag_AbsV, tag_brcG, tag_parG, tag_Over, tag_OvSc,
        tag_Miss, tag_Inte, tag_Sum,  tag_Prod, tag_Sqrt, tag_Limt, tag_TagV, tag_totD,
        tag_parD, tag_Matr, tag_Tabl, tag_eqSt, tag_splF, tag_Link, tag_Meta, tag_Ref};
    return tags;
}

std::string TagName(uint32_t tag)
{
    char text[5];
    TypeTag(tag).ToChars(text);
    return std::string(text, 4);
}
