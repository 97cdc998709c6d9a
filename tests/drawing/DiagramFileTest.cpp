// The drawing's file record: round trips to identical bytes, shared
// vertices and variables, kept records of unknown kinds, and damaged files.
#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingEditActions.h"
#include "drawing/GroupConstraints.h"
#include "drawing/PointConstraints.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/DocWriter.h"
#include "foundation/LinkRemap.h"
#include "foundation/ParagraphComp.h"
#include "platform/Exceptions.h"
#include "support/model/ArchiveStore.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>

namespace {

DiagramComp* DrawingIn(const ParagraphList& list, int paragraph, int index)
{
    return dynamic_cast<DiagramComp*>(list.GetAt(paragraph)->GetRow()->GetAt(index));
}

// A component whose record is a drawing record written by hand.
class HandWrittenDrawing : public TextComp {
public:
    explicit HandWrittenDrawing(std::function<void(DocWriter&)> body) : m_body(std::move(body)) {}
    TextComp* Clone(LinkRemap&) override { return nullptr; }
    void GetTag(TypeTag& out) const override { out = tag_Draw; }
    void Write(DocWriter& writer) override { m_body(writer); }

private:
    std::function<void(DocWriter&)> m_body;
};

// Everything of a drawing record before its shape count: a 1000 x 1000
// drawing with no named variables.
void WriteHeader(DocWriter& w, int16_t width = 1000, double scale = 0.04)
{
    w.WriteLong(0);
    w.WriteLong(0);
    w.WriteDouble(0.0);
    w.WriteDouble(0.0);
    w.WriteDouble(scale);
    w.WriteShort(1000);
    w.WriteShort(width);
    w.WriteByte(0);
    w.WritePString(Str255("x"), true);
    w.WritePString(Str255("y"), true);
    w.WriteByte(0);
    w.WriteShort(1);
    w.WriteColor(RGB(193, 193, 193));
    w.WriteByte(1);
    w.WriteShort(0);
}

// Link ids are written 1, 2, 3, ... in order of first use.
void WriteVariable(DocWriter& w, int16_t index, int32_t id, double value)
{
    w.WriteShort(index);
    w.WriteLong(id);
    w.WriteDouble(value);
    w.WriteByte(0);
}

// A vertex body whose variables take the indexes given (new ones follow).
void WriteVertexBody(DocWriter& w, int16_t xIndex, int16_t yIndex, bool yIsNew = true)
{
    w.WriteByte(1);
    w.WriteByte(0);
    w.WriteShort(1);
    WriteVariable(w, xIndex, 1 + xIndex, 1.0);
    if (yIsNew)
        WriteVariable(w, yIndex, 1 + yIndex, 2.0);
    else
        w.WriteShort(yIndex);
    w.WriteByte(0);
    w.WriteShort(1);
    w.WriteColor(0);
}

std::vector<uint8_t> Body(const std::function<void(DocWriter&)>& write)
{
    return StoreArchive(write);
}

// A vertex shape record of index 0 with new variables 0 and 1 (or y naming x again).
void WriteVertexRecord(DocWriter& w, bool yIsNew = true)
{
    w.WriteRawRecord(tag_Vert, Body([&](DocWriter& b) {
                         b.WriteShort(0);
                         WriteVertexBody(b, 0, yIsNew ? 1 : 0, yIsNew);
                     }));
}

std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> bytes;
    for (int v : values)
        bytes.push_back(static_cast<uint8_t>(v));
    return bytes;
}

// A vertex, then a shape of a kind this program does not read whose body
// brings vertex 2 with it, then a vertex record naming vertex 2, and a distance constraint.
void WriteKeptRecordsDrawing(DocWriter& w)
{
    WriteHeader(w);
    w.WriteLong(3);
    WriteVertexRecord(w);
    w.WriteRawRecord(TypeTag("Ellp"), Bytes({1, 0, 1, 0, 0, 2, 0, 1, 0, 1, 0, 0xAB, 0xCD}));
    w.WriteRawRecord(tag_Vert, Bytes({2, 0}));
    w.WriteLong(1);
    w.WriteRawRecord(TypeTag("DstC"), Bytes({1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
    w.WriteLong(0);
    w.WriteByte(0);
}

} // namespace

TEST_F(DrawingTest, SampleDocumentRoundTripsToIdenticalBytesWithItsSharingRebuilt)
{
    auto list = MakeSampleDocument();
    list->RelayoutAll(false);
    const std::vector<uint8_t> first = WriteList(*list);
    auto read = ReadList(first);
    EXPECT_EQ(WriteList(*read), first);

    DiagramComp* drawing = DrawingIn(*read, 1, 9);
    ASSERT_NE(drawing, nullptr);
    ASSERT_EQ(drawing->GetShapes().GetCount(), 3);
    auto* c3 = dynamic_cast<CircleShape*>(drawing->GetShapes().GetAt(0));
    auto* c1 = dynamic_cast<CircleShape*>(drawing->GetShapes().GetAt(1));
    auto* c2 = dynamic_cast<CircleShape*>(drawing->GetShapes().GetAt(2));
    ASSERT_TRUE(c3 && c1 && c2);
    VertexShape* a = c1->GetCentre();
    EXPECT_EQ(c2->GetCentre(), c3->GetCentre()) << "the shared centre is read once";
    EXPECT_EQ(a->GetUseCount(), 1);
    EXPECT_EQ(c2->GetCentre()->GetUseCount(), 2);
    EXPECT_TRUE(c3->GetStyle().filled);
    EXPECT_TRUE(c3->GetRadiusVar()->IsFixed());
    ASSERT_EQ(drawing->GetLabels().GetCount(), 2);
    EXPECT_EQ(drawing->GetLabels().GetAt(0)->GetOwner(), a);
    EXPECT_EQ(drawing->GetVariables().GetCount(), 1);
    EXPECT_EQ(a->GetXVar()->GetOwner(), drawing);

    // The value display of the second paragraph follows the first drawing's vertex.
    auto* display = dynamic_cast<DrawValueComp*>(read->GetAt(2)->GetRow()->GetAt(2));
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->GetVariable(), a->GetXVar());
    // The copy's free label shows the copy's radius, not the first drawing's.
    DiagramComp* copy = DrawingIn(*read, 2, 1);
    ASSERT_NE(copy, nullptr);
    auto* radiusDisplay = dynamic_cast<DrawValueComp*>(copy->GetLabels().GetAt(1)->GetText()->GetAt(3));
    ASSERT_NE(radiusDisplay, nullptr);
    auto* copiedC1 = dynamic_cast<CircleShape*>(copy->GetShapes().GetAt(1));
    ASSERT_NE(copiedC1, nullptr);
    EXPECT_EQ(radiusDisplay->GetVariable(), copiedC1->GetRadiusVar());
    copiedC1->GetRadiusVar()->SetValue(4.25);
    EXPECT_STREQ(radiusDisplay->GetText().GetText(), "4.25");
}

TEST_F(DrawingTest, EmptyDrawingEndsWithThreeZeroCountsAndAZeroByte)
{
    DiagramComp empty;
    const std::vector<uint8_t> bytes = WriteComponent(empty);
    ASSERT_GE(bytes.size(), 13u);
    const std::vector<uint8_t> tail(bytes.end() - 13, bytes.end());
    EXPECT_EQ(tail, std::vector<uint8_t>(13, 0));
    auto read = ReadComponent(bytes);
    EXPECT_EQ(WriteComponent(*read), bytes);
}

TEST_F(DrawingTest, RecordsOfUnknownKindsAndTheShapesAfterThemAreKeptByteForByte)
{
    HandWrittenDrawing hand(WriteKeptRecordsDrawing);
    const std::vector<uint8_t> bytes = WriteComponent(hand);
    auto read = ReadComponent(bytes);
    auto* drawing = dynamic_cast<DiagramComp*>(read.get());
    ASSERT_NE(drawing, nullptr);
    EXPECT_TRUE(drawing->HasKeptRecords());
    ASSERT_EQ(drawing->GetShapes().GetCount(), 3);
    EXPECT_TRUE(drawing->GetShapes().GetAt(0)->IsVertexShape());
    EXPECT_TRUE(drawing->GetShapes().GetAt(1)->IsKeptRecord());
    EXPECT_TRUE(drawing->GetShapes().GetAt(2)->IsKeptRecord());
    EXPECT_EQ(drawing->GetConstraints().GetCount(), 1);
    EXPECT_EQ(WriteComponent(*drawing), bytes);
    // A whole copy keeps them too.
    LinkRemap remap;
    std::unique_ptr<TextComp, void (*)(TextComp*)> copy(drawing->Clone(remap), [](TextComp* c) { c->Delete(); });
    EXPECT_EQ(WriteComponent(*copy), bytes);
}

namespace {

// A point, a shape of an unknown kind whose body brought a vertex of its own
// (two variables and one object the reader never sees), a circle; then a
// constraint of an unknown kind and a distance between the point and the
// circle's centre. The known records are written by the writer itself, with
// the slots the unknown shape stands for reserved.
void WriteUnknownRecordsBetweenKnownOnes(DocWriter& w)
{
    WriteHeader(w);
    w.InitTables();
    w.WriteLong(3);
    auto* point = new VertexShape(1.0, 1.0);
    w.WriteShape(*point);
    w.WriteRawRecord(TypeTag("Ellp"), Bytes({1, 0, 1, 0x12, 0x34}));
    w.ReserveObjectSlot(1);
    w.ReserveSharedSlots(2, 1);
    auto* circle = new CircleShape(new VertexShape(4.0, 5.0), new DrawVariable(1.0, false));
    w.WriteShape(*circle);
    w.WriteLong(2);
    w.WriteRawRecord(TypeTag("Zzzz"), Bytes({1, 0, 0, 0x56}));
    DistanceConstraint distance(point, circle->GetCentre());
    w.WriteConstraint(distance);
    w.WriteLong(0);
    w.WriteByte(0);
    w.FreeTables();
    DeleteShapes({point, circle});
}

} // namespace

// A record of an unknown kind used to hide every record after it: they are
// read and shown when their references resolve, and the unknown bytes are
// written back in their place.
TEST_F(DrawingTest, RecordsAfterOneOfAnUnknownKindAreReadWhenTheirReferencesResolve)
{
    HandWrittenDrawing hand(WriteUnknownRecordsBetweenKnownOnes);
    const std::vector<uint8_t> bytes = WriteComponent(hand);
    auto read = ReadComponent(bytes);
    auto* drawing = dynamic_cast<DiagramComp*>(read.get());
    ASSERT_NE(drawing, nullptr);
    ASSERT_EQ(drawing->GetShapes().GetCount(), 3);
    EXPECT_TRUE(drawing->GetShapes().GetAt(0)->IsVertexShape());
    EXPECT_TRUE(drawing->GetShapes().GetAt(1)->IsKeptRecord());
    ASSERT_TRUE(drawing->GetShapes().GetAt(2)->IsCircle()) << "the circle after the unknown shape is read";
    auto* circle = static_cast<CircleShape*>(drawing->GetShapes().GetAt(2));
    EXPECT_EQ(circle->GetCentre()->GetPoint(), DPoint(4.0, 5.0));
    ASSERT_EQ(drawing->GetConstraints().GetCount(), 2);
    EXPECT_TRUE(drawing->GetConstraints().GetAt(0)->IsKeptRecord());
    auto* distance = dynamic_cast<DistanceConstraint*>(drawing->GetConstraints().GetAt(1));
    ASSERT_NE(distance, nullptr) << "the distance after the unknown constraint is read";
    EXPECT_DOUBLE_EQ(distance->GetVariable(0)->GetValue(), 5.0);
    EXPECT_EQ(WriteComponent(*drawing), bytes) << "the unknown bytes are written back in their place";
    EXPECT_EQ(OwnershipFaults({drawing}), "");
    drawing->SelectShape(circle, false);
    {
        TDeleteDrawingAction remove(drawing);
        remove.Perform();
        EXPECT_EQ(drawing->GetConstraints().GetCount(), 1) << "the distance to the circle's centre goes with it";
        remove.Revert();
        EXPECT_EQ(WriteComponent(*drawing), bytes) << "undone";
        remove.Perform();
        remove.Commit();
    }
    EXPECT_EQ(OwnershipFaults({drawing}), "");
    EXPECT_NO_THROW(ReadComponent(WriteComponent(*drawing))) << "committed";
    read = ReadComponent(bytes);
    drawing = static_cast<DiagramComp*>(read.get());
    LinkRemap remap;
    std::unique_ptr<TextComp, void (*)(TextComp*)> copy(drawing->Clone(remap), [](TextComp* c) { c->Delete(); });
    EXPECT_EQ(WriteComponent(*copy), bytes);
    auto list = ListOf(static_cast<DiagramComp*>(read.release()));
    list->RelayoutAll(false);
    list->PaintRange(Rect(0, 0, image.width(), image.height()));
}

namespace {

// Dark pixels in the square of the given half side around a device point.
int DarkPixels(const QImage& image, const IntPoint& centre, int half)
{
    int count = 0;
    for (int y = centre.y - half; y <= centre.y + half; ++y)
        for (int x = centre.x - half; x <= centre.x + half; ++x)
            count += image.valid(x, y) && qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return count;
}

// The drawing's listed vertex at a point, or null.
VertexShape* ListedVertexAt(const DiagramComp& drawing, const DPoint& point)
{
    for (DiagramShape* shape : drawing.GetShapes())
        if (auto* vertex = dynamic_cast<VertexShape*>(shape); vertex && vertex->GetPoint() == point)
            return vertex;
    return nullptr;
}

} // namespace

// Files list a point the user drew that is also a circle's centre or a
// triangle's corner: an unedited open and save writes the list as it was.
// The listed point is a shape of its own: removing the shape that uses it
// leaves the point, drawn and saved, with its label and the constraints
// that bind it, and undo, redo and commit keep every owner right.
TEST_F(DrawingTest, APointListedAndUsedByAnotherShapeStaysWhenThatShapeIsRemoved)
{
    struct Case {
        const char* name;
        DPoint point;
        std::function<void(DiagramComp&)> build;
        int constraintsLeft; // after the removal
    };
    const Case cases[] = {
        {"circle centre listed before the circle, labelled, with a distance to another point and a radius",
         DPoint(1.0, 1.0),
         [](DiagramComp& d) {
             auto* centre = new VertexShape(1.0, 1.0);
             centre->SetLabel(new DrawLabel(&d, DPoint(1.5, 1.5), DPoint(0, 0), true, new CompList(Str255("P"))));
             d.AddShape(centre);
             auto* other = new VertexShape(3.0, 1.0);
             d.AddShape(other);
             auto* circle = new CircleShape(centre, new DrawVariable(2.5, false));
             d.AddShape(circle);
             d.AddConstraint(new DistanceConstraint(centre, other));
             d.AddConstraint(new RadiusConstraint(centre, circle->GetRadiusVar()));
         },
         1},
        {"triangle corner listed after the triangle", DPoint(2.0, 3.0),
         [](DiagramComp& d) {
             auto* corner = new VertexShape(2.0, 3.0);
             auto* triangle = new TriangleShape(new VertexShape(0, 0), new VertexShape(4, 0), corner);
             d.AddShape(new VertexShape(-1.0, -1.0));
             d.AddShape(triangle);
             d.AddShape(corner);
             d.AddConstraint(new FixedPointConstraint(corner));
         },
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes;
        {
            DiagramComp written;
            c.build(written);
            bytes = WriteComponent(written);
        }
        auto read = ReadComponent(bytes);
        auto* drawing = dynamic_cast<DiagramComp*>(read.get());
        ASSERT_NE(drawing, nullptr);
        EXPECT_EQ(drawing->GetListedParts().size(), 1u);
        EXPECT_EQ(WriteComponent(*drawing), bytes) << "opened and saved without an edit";
        LinkRemap remap;
        std::unique_ptr<TextComp, void (*)(TextComp*)> copy(drawing->Clone(remap), [](TextComp* t) { t->Delete(); });
        EXPECT_EQ(WriteComponent(*copy), bytes) << "a whole copy";
        auto list = ListOf(static_cast<DiagramComp*>(read.release()));
        drawing->SetSize(2000, 2000);
        drawing->GetDC().SetWorldOrigin(DPoint(-5.0, 5.0));
        const auto paint = [&] {
            image.fill(Qt::white);
            list->RelayoutAll(false);
            list->PaintRange(Rect(0, 0, image.width(), image.height()));
            return DarkPixels(image, drawing->GetDC().WorldToScreen(c.point), 2);
        };
        paint();
        const std::vector<uint8_t> sized = WriteComponent(*drawing);

        DiagramShape* user = nullptr;
        for (DiagramShape* shape : drawing->GetShapes())
            if (!shape->IsVertexShape())
                user = shape;
        ASSERT_NE(user, nullptr);
        drawing->SelectShape(user, false);
        auto remove = std::make_unique<TDeleteDrawingAction>(drawing);
        const auto check = [&](const char* step, bool removed) {
            SCOPED_TRACE(step);
            std::vector<const DiagramComp*> drawings{drawing};
            if (remove && remove->GetRemoved())
                drawings.push_back(remove->GetRemoved());
            EXPECT_EQ(OwnershipFaults(drawings, remove ? &remove->GetEdits() : nullptr), "");
            if (!removed) {
                EXPECT_EQ(WriteComponent(*drawing), sized);
                return;
            }
            VertexShape* point = ListedVertexAt(*drawing, c.point);
            ASSERT_NE(point, nullptr) << "the point is still a shape of the drawing";
            EXPECT_EQ(point->GetOwnerShape(), nullptr);
            EXPECT_EQ(drawing->GetShapes().GetCount(), c.constraintsLeft + 1);
            EXPECT_EQ(drawing->GetConstraints().GetCount(), c.constraintsLeft) << "its constraints stay";
            EXPECT_TRUE(drawing->GetListedParts().empty());
            for (DrawLabel* label : point->GetLabels())
                EXPECT_TRUE(drawing->GetLabels().Contains(label)) << "its label stays";
            EXPECT_GE(paint(), 8) << "the point is drawn";
            auto again = ReadComponent(WriteComponent(*drawing));
            EXPECT_NE(ListedVertexAt(static_cast<DiagramComp&>(*again), c.point), nullptr) << "and saved";
        };
        remove->Perform();
        check("removed", true);
        remove->Revert();
        check("undone", false);
        remove->Perform();
        check("redone", true);
        remove->Commit();
        remove.reset();
        check("committed", true);
    }
}

// Each damaged record must be refused as a format error, and what was read
// of it freed (the leak checker watches).
TEST_F(DrawingTest, DamagedDrawingRecordsAreRefusedWithTheFormatMessage)
{
    struct Case {
        const char* fault;
        std::function<void(DocWriter&)> body;
    };
    auto circle = [](DocWriter& w, int16_t centreIndex) {
        w.WriteRawRecord(tag_Circ, Bytes({0, 0, 1, centreIndex & 0xFF, (centreIndex >> 8) & 0xFF}));
    };
    const Case cases[] = {
        {"a zero width", [](DocWriter& w) { WriteHeader(w, 0); }},
        {"a negative width", [](DocWriter& w) { WriteHeader(w, -5); }},
        {"a zero scale", [](DocWriter& w) { WriteHeader(w, 1000, 0.0); }},
        {"a scale that is no number", [](DocWriter& w) { WriteHeader(w, 1000, std::nan("")); }},
        {"a circle whose centre is the circle itself",
         [&](DocWriter& w) {
             WriteHeader(w);
             w.WriteLong(1);
             circle(w, 0);
         }},
        {"a centre index beyond the shapes read",
         [&](DocWriter& w) {
             WriteHeader(w);
             w.WriteLong(1);
             circle(w, 5);
         }},
        {"a negative centre index",
         [&](DocWriter& w) {
             WriteHeader(w);
             w.WriteLong(1);
             circle(w, -1);
         }},
        {"a vertex whose y is its own x",
         [](DocWriter& w) {
             WriteHeader(w);
             w.WriteLong(1);
             WriteVertexRecord(w, false);
         }},
        {"a shape listed twice",
         [](DocWriter& w) {
             WriteHeader(w);
             w.WriteLong(2);
             WriteVertexRecord(w);
             w.WriteRawRecord(tag_Vert, Bytes({0, 0}));
         }},
        {"a negative shape count",
         [](DocWriter& w) {
             WriteHeader(w);
             w.WriteLong(-1);
         }},
    };
    for (const Case& c : cases) {
        HandWrittenDrawing hand(c.body);
        std::vector<uint8_t> bytes;
        try {
            bytes = WriteComponent(hand);
        } catch (const CException& e) {
            ADD_FAILURE() << c.fault << ": " << e.what();
            continue;
        }
        EXPECT_THROW(ReadComponent(bytes), CFormatException) << c.fault;
    }
}

TEST_F(DrawingTest, EveryTruncationOfTheSampleIsRefusedAndEveryCorruptionReadsSoundly)
{
    SampleParts sample = MakeSample();
    std::unique_ptr<TextComp, void (*)(TextComp*)> owner(sample.diagram, [](TextComp* c) { c->Delete(); });
    const std::vector<uint8_t> bytes = WriteComponent(*sample.diagram);
    for (size_t length = 0; length < bytes.size(); ++length) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_THROW(ReadComponent(cut), CException) << "cut after " << length;
    }
    for (size_t at = 8; at < bytes.size(); ++at)
        for (uint8_t value : {uint8_t(0x00), uint8_t(0x7F), uint8_t(0xFF)}) {
            std::vector<uint8_t> bad = bytes;
            bad[at] = value;
            try {
                auto read = ReadComponent(bad);
                const std::vector<uint8_t> again = WriteComponent(*read);
                EXPECT_EQ(WriteComponent(*ReadComponent(again)), again) << "byte " << at;
            } catch (const CException&) {
            }
        }
}

// Every vertex brings two shared variables: 32767 vertices fill the variable
// table to its last index and are written and read back as they were; one
// more vertex is refused on writing.
TEST_F(DrawingTest, AsManySharedObjectsAsSixteenBitIndexesHoldAreWrittenAndReadBack)
{
    constexpr int kMostVertices = (kMaxSharedObjects - 1) / 2;
    DiagramComp drawing;
    for (int i = 0; i < kMostVertices; ++i)
        drawing.AddShape(new VertexShape(i, 0.0));
    const std::vector<uint8_t> bytes = WriteComponent(drawing);
    auto read = ReadComponent(bytes);
    ASSERT_NE(dynamic_cast<DiagramComp*>(read.get()), nullptr);
    EXPECT_EQ(static_cast<DiagramComp*>(read.get())->GetShapes().GetCount(), kMostVertices);
    EXPECT_EQ(WriteComponent(*read), bytes);
    drawing.AddShape(new VertexShape(-1, 0.0));
    EXPECT_THROW(WriteComponent(drawing), CFormatException);
}

// Counts that records hold in 16 bits: a larger one is refused on writing,
// never written as a number that reads back as another (a negative use
// count makes the file unreadable, a negative segment count leaves an
// equal-length constraint without its segments).
TEST_F(DrawingTest, CountsBeyondTheirSixteenBitsAreRefusedRatherThanWrittenAsOthers)
{
    struct Case {
        const char* name;
        std::function<void(DiagramComp&, int)> fill;
        bool sameBytes; // else the reader counts the uses again from the shapes it read
    } cases[] = {
        {"the uses of a vertex",
         [](DiagramComp& drawing, int n) {
             auto* vertex = new VertexShape(0, 0);
             vertex->SetUseCount(n);
             drawing.AddShape(vertex);
         },
         false},
        {"the segments of an equal-length constraint",
         [](DiagramComp& drawing, int n) {
             auto* a = new VertexShape(0, 0);
             auto* b = new VertexShape(1, 0);
             std::vector<SegmentShape*> segments;
             for (int i = 0; i < n; ++i) {
                 segments.push_back(new SegmentShape(a, b));
                 drawing.AddShape(segments.back());
             }
             drawing.AddConstraint(new EqualLengthConstraint(segments));
         },
         true},
    };
    for (const Case& c : cases)
        for (int n : {INT16_MAX, INT16_MAX + 1}) {
            SCOPED_TRACE(std::string(c.name) + " " + std::to_string(n));
            DiagramComp drawing;
            c.fill(drawing, n);
            std::vector<uint8_t> bytes;
            try {
                bytes = WriteComponent(drawing);
            } catch (const CException&) {
                EXPECT_GT(n, INT16_MAX) << "refused within the count";
                continue;
            }
            auto read = ReadComponent(bytes);
            ASSERT_NE(read, nullptr);
            if (c.sameBytes) {
                EXPECT_EQ(WriteComponent(*read), bytes);
            }
        }
}

namespace {

constexpr int32_t kDocumentVersion = 2100;

// A whole document file: version, no header sections, the paragraphs, no slides.
std::vector<uint8_t> DocumentFile(const std::vector<uint8_t>& paragraphs)
{
    std::vector<uint8_t> file = StoreArchive([](DocWriter& w) {
        w.WriteLong(kDocumentVersion);
        w.WriteShort(0);
    });
    file.insert(file.end(), paragraphs.begin(), paragraphs.end());
    return file;
}

} // namespace

// The document fuzz target starts from these files: every drawing record
// kind, kept records, a drawing inside a label, and damaged drawings. Each
// sound one must read back and write the same bytes; QV_UPDATE_CORPUS copies
// them into the corpus.
TEST_F(DrawingTest, CorpusSeedsOfEveryDrawingRecordKindRoundTrip)
{
    std::vector<std::pair<std::string, std::vector<uint8_t>>> sound;
    {
        auto list = MakeSampleDocument();
        list->RelayoutAll(false);
        sound.emplace_back("drawing-sample", WriteList(*list));
    }
    {
        auto list = NewList();
        SampleParts outer = MakeSample();
        SampleParts inner = MakeSample();
        auto row = std::make_unique<CompArray>();
        row->Append(inner.diagram);
        outer.diagram->AddLabel(new DrawLabel(outer.diagram, DPoint(2, 2), DPoint(), true, new CompList(std::move(row))));
        auto line = std::make_unique<CompArray>();
        line->Append(outer.diagram);
        line->Append(new DiagramComp);
        list->Append(new ParagraphComp(std::move(line), 5));
        sound.emplace_back("drawing-nested-and-empty", WriteList(*list));
    }
    {
        auto list = ListOf(MakeShapeKinds());
        list->RelayoutAll(false);
        sound.emplace_back("drawing-every-shape-kind", WriteList(*list));
    }
    {
        auto list = NewList();
        auto line = std::make_unique<CompArray>();
        line->Append(new HandWrittenDrawing(WriteKeptRecordsDrawing));
        list->Append(new ParagraphComp(std::move(line), 3));
        const std::vector<uint8_t> bytes = WriteList(*list);
        sound.emplace_back("drawing-kept-records", bytes);
    }
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
    for (const auto& [name, paragraphs] : sound) {
        auto read = ReadList(paragraphs);
        EXPECT_EQ(WriteList(*read), paragraphs) << name;
        files.emplace_back(name + ".vxm", DocumentFile(paragraphs));
    }
    const std::vector<uint8_t>& sample = sound.front().second;
    files.emplace_back("drawing-truncated.vxm", DocumentFile({sample.begin(), sample.begin() + sample.size() / 2}));
    std::vector<uint8_t> zeroSize = sample;
    // The first drawing's height follows its tag, length and transform.
    const auto draw = std::search(zeroSize.begin(), zeroSize.end(), std::begin("warD"), std::end("warD") - 1);
    ASSERT_NE(draw, zeroSize.end());
    const size_t height = static_cast<size_t>(draw - zeroSize.begin()) + 8 + 32;
    zeroSize[height] = zeroSize[height + 1] = 0;
    EXPECT_THROW(ReadList(zeroSize), CFormatException);
    files.emplace_back("drawing-zero-size.vxm", DocumentFile(zeroSize));

    const bool update = std::getenv("QV_UPDATE_CORPUS") != nullptr;
    for (const auto& [name, bytes] : files) {
        const std::string dir = update ? std::string(QV_SOURCE_DIR) + "/tests/foundation/fuzz/document-corpus/"
                                       : OutputDir().toStdString() + "/";
        std::ofstream out(dir + name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(out.good()) << name;
    }
}
