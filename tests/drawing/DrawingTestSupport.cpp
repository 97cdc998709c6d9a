#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingComponents.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/LinkRemap.h"
#include "foundation/LinkTarget.h"
#include "foundation/MemoryStream.h"
#include "foundation/ParagraphComp.h"
#include "foundation/TextLayoutItemMaker.h"
#include "math/MathComponents.h"
#include "support/model/ArchiveStore.h"

#include <QDir>

namespace {

void BindLink(TargetLink* link, LinkTarget* target)
{
    link->SetTarget(target);
}

std::unique_ptr<CompArray> Chars(FontManager& fonts, const std::string& text)
{
    auto array = std::make_unique<CompArray>();
    for (char c : text)
        array->Append(fonts.GetFace(0)->GetCharacter(static_cast<unsigned char>(c)));
    return array;
}

} // namespace

void ListDeleter::operator()(ParagraphList* list) const
{
    list->DeleteAll();
    delete list;
}

DrawingTest::DrawingTest() : image(420, 560, QImage::Format_RGB32)
{
    RegisterMathComponents();
    RegisterDrawingComponents();
    InstallTextLayout();
    image.fill(Qt::white);
    SetImageDpi(image, 96);
    dc = std::make_unique<CImageDC>(image);
    gDrawContext.BeginDrawOnDC(&screen, dc.get());
    gDrawContext.SetBaseSize(DrawContext::kDefaultBaseSize);
    gDrawContext.SetFontFamily(0);
}

DrawingTest::~DrawingTest()
{
    UnwindDrawContext();
}

SampleParts DrawingTest::MakeSample()
{
    SampleParts s;
    s.diagram = new DiagramComp;
    s.diagram->SetSize(2000, 2000);
    s.diagram->GetDC().SetWorldOrigin(DPoint(-5.0, 4.0));
    s.a = new VertexShape(-2.5, 0.5);
    s.c1 = new CircleShape(s.a, new DrawVariable(1.5, false));
    s.b = new VertexShape(1.5, 0.0);
    s.c2 = new CircleShape(s.b, new DrawVariable(1.0, false));
    ShapeStyle filled;
    filled.filled = true;
    filled.fillColour = RGB(200, 220, 255);
    filled.penStyle = drawing::kThick;
    s.c3 = new CircleShape(s.b, new DrawVariable(2.0, true), filled);
    s.diagram->AddShape(s.c3);
    s.diagram->AddShape(s.c1);
    s.diagram->AddShape(s.a);
    s.diagram->AddShape(s.c2);
    s.diagram->AddLabel(s.a->MakeLabel(s.diagram));
    auto row = Chars(fonts, "r=");
    row->Append(new DrawValueComp(s.c1->GetRadiusVar()));
    s.diagram->AddLabel(new DrawLabel(s.diagram, DPoint(-0.5, 3.0), DPoint(0.0, 0.0), true, new CompList(std::move(row))));
    s.diagram->GetVariables().SetNamed(Str255("a"), 2.5);
    return s;
}

ListPtr DrawingTest::NewList()
{
    return ListPtr(new ParagraphList(&document));
}

ListPtr DrawingTest::MakeSampleDocument()
{
    auto list = NewList();
    SampleParts first = MakeSample();
    auto line = Chars(fonts, "Circles ");
    line->Append(first.diagram);
    list->Append(new ParagraphComp(std::move(line), 3));

    LinkRemap remap;
    auto* copy = static_cast<DiagramComp*>(first.diagram->Clone(remap));
    remap.RebindLinks();
    auto second = std::make_unique<CompArray>();
    second->Append(copy);
    second->Append(new DrawValueComp(first.a->GetXVar()));
    list->Append(new ParagraphComp(std::move(second), 3));
    return list;
}

std::vector<uint8_t> DrawingTest::WriteList(const ParagraphList& list)
{
    return StoreArchive([&list](DocWriter& writer) { list.Write(writer, false); });
}

ListPtr DrawingTest::ReadList(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> copy = bytes;
    MemoryStream stream(copy.data(), static_cast<int32_t>(copy.size()));
    DocReader reader(&stream);
    auto list = NewList();
    list->ReadCounted(reader);
    reader.ResolveLinks(BindLink);
    return list;
}

std::vector<uint8_t> DrawingTest::WriteComponent(TextComp& comp)
{
    return StoreArchive([&comp](DocWriter& writer) { writer.WriteComponentRecord(&comp); });
}

std::unique_ptr<TextComp, void (*)(TextComp*)> DrawingTest::ReadComponent(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> copy = bytes;
    MemoryStream stream(copy.data(), static_cast<int32_t>(copy.size()));
    DocReader reader(&stream);
    TextComp* comp = reader.ReadComponent();
    reader.ResolveLinks(BindLink);
    return {comp, [](TextComp* c) { c->Delete(); }};
}

QString DrawingTest::OutputDir()
{
    QString dir = QStringLiteral(QV_TEST_OUTPUT);
    QDir().mkpath(dir);
    return dir;
}
