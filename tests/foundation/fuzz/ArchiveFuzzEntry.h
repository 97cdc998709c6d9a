#pragma once
// The archive reader's fuzz entry, shared by the libFuzzer target and the
// corpus replay test. It registers small stand-in kinds for every record the
// archive frames (component rows with character runs, a drawing with shared
// shapes, variables and constraints, 2-D and 3-D plot items, link targets and
// links), reads an input as an id pool followed by a list of components, and
// when that succeeds writes the result, reads it back and writes it again:
// the two writes must be identical. Bad input may only end in CFormatException
// or the end-of-file CFileException.
#include "foundation/ArchiveItem.h"
#include "foundation/ArchiveRegistry.h"
#include "foundation/ComponentRegistry.h"
#include "foundation/CountingStream.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/IdPool.h"
#include "foundation/MemoryStream.h"
#include "foundation/TextComp.h"
#include "platform/Exceptions.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

namespace archivefuzz {

// ---- drawing and plot objects ------------------------------------------------

// The makers' objects. The reader deletes a constraint, plot item or variable
// whose reading fails and leaves shapes in the drawing's table; whatever is
// still alive at the end of a run is freed then.
inline std::set<ArchiveItem*>& Live()
{
    static std::set<ArchiveItem*> live;
    return live;
}

struct TestItem : ArchiveItem {
    TestItem() { Live().insert(this); }
    ~TestItem() override { Live().erase(this); }
};

inline void FreeItems()
{
    while (!Live().empty())
        delete *Live().begin();
}

template <class T>
ArchiveItem* Make()
{
    return new T;
}

struct TestVariable : TestItem {
    double value = 0;
    bool fixed = false;
    void Write(DocWriter& w) override
    {
        w.WriteDouble(value);
        w.WriteBool(fixed);
    }
    void Read(DocReader& r, void*) override
    {
        value = r.ReadDouble();
        fixed = r.ReadBool();
    }
};

struct TestVertex : TestItem {
    double x = 0, y = 0;
    ArchiveItem* var = nullptr;
    TypeTag GetTag() const override { return tag_Vert; }
    void Write(DocWriter& w) override
    {
        w.WriteDouble(x);
        w.WriteDouble(y);
        w.WriteVariableRef(var);
    }
    void Read(DocReader& r, void*) override
    {
        x = r.ReadDouble();
        y = r.ReadDouble();
        var = r.ReadVariableRef();
    }
};

struct TestSegment : TestItem {
    ArchiveItem* a = nullptr;
    ArchiveItem* b = nullptr;
    TypeTag GetTag() const override { return tag_Segm; }
    void Write(DocWriter& w) override
    {
        w.WriteSharedObject(a);
        w.WriteSharedObject(b);
    }
    void Read(DocReader& r, void*) override
    {
        a = r.ReadVertexRef();
        b = r.ReadVertexRef();
    }
};

struct TestCircle : TestItem {
    ArchiveItem* centre = nullptr;
    double radius = 0;
    TypeTag GetTag() const override { return tag_Circ; }
    void Write(DocWriter& w) override
    {
        w.WriteSharedObject(centre);
        w.WriteDouble(radius);
    }
    void Read(DocReader& r, void*) override
    {
        centre = r.ReadVertexRef();
        radius = r.ReadDouble();
    }
};

// A polygon or a curve: a count and that many vertices.
template <const TypeTag& Tag>
struct TestVertexChain : TestItem {
    std::vector<ArchiveItem*> points;
    TypeTag GetTag() const override { return Tag; }
    void Write(DocWriter& w) override
    {
        w.WriteLong(static_cast<int32_t>(points.size()));
        for (ArchiveItem* p : points)
            w.WriteSharedObject(p);
    }
    void Read(DocReader& r, void*) override
    {
        int32_t n = r.ReadCount(2);
        for (int32_t i = 0; i < n; ++i)
            points.push_back(r.ReadVertexRef());
    }
};
using TestPolygon = TestVertexChain<tag_Poly>;
using TestCurve = TestVertexChain<tag_BCrv>;

struct TestDistance : TestItem {
    ArchiveItem* segment = nullptr;
    ArchiveItem* var = nullptr;
    TypeTag GetTag() const override { return tag_DstC; }
    void Write(DocWriter& w) override
    {
        w.WriteByte(1);
        w.WriteSharedObject(segment);
        w.WriteVariableRef(var);
    }
    void Read(DocReader& r, void*) override
    {
        r.ReadByte();
        segment = r.ReadSegmentRef();
        var = r.ReadVariableRef();
    }
};

struct TestEqual : TestItem {
    ArchiveItem* first = nullptr;
    ArchiveItem* second = nullptr;
    TypeTag GetTag() const override { return tag_EqlC; }
    void Write(DocWriter& w) override
    {
        w.WriteSharedObject(first);
        w.WriteSharedObject(second);
    }
    void Read(DocReader& r, void*) override
    {
        first = r.ReadCurveRef();
        second = r.ReadCurveRef();
    }
};

// Plot items: a tick (kind 1), a line (kind 3), a polyline (kind 5) and a
// 3-D surface (kind 6).
struct TestTick : TestItem {
    uint8_t side = 0;
    double x = 0, y = 0;
    Str255 label;
    int32_t GetKind() const override { return 1; }
    void Write(DocWriter& w) override
    {
        w.WriteByte(side);
        w.WriteDouble(x);
        w.WriteDouble(y);
        w.WritePString(label, true);
    }
    void Read(DocReader& r, void*) override
    {
        side = r.ReadByte();
        x = r.ReadDouble();
        y = r.ReadDouble();
        r.ReadPString(label, true);
    }
};

struct TestLine : TestItem {
    double c[4] = {};
    int32_t GetKind() const override { return 3; }
    void Write(DocWriter& w) override
    {
        for (double v : c)
            w.WriteDouble(v);
    }
    void Read(DocReader& r, void*) override
    {
        for (double& v : c)
            v = r.ReadDouble();
    }
};

struct TestPolyline : TestItem {
    std::vector<double> coords;
    int32_t GetKind() const override { return 5; }
    void Write(DocWriter& w) override
    {
        w.WriteLong(static_cast<int32_t>(coords.size() / 2));
        for (double v : coords)
            w.WriteDouble(v);
    }
    void Read(DocReader& r, void*) override
    {
        int32_t n = r.ReadCount(16);
        coords.resize(static_cast<size_t>(n) * 2);
        for (double& v : coords)
            v = r.ReadDouble();
    }
};

struct TestSurface : TestItem {
    int32_t columns = 0, rows = 0;
    std::vector<double> coords;
    int32_t GetKind() const override { return 6; }
    void Write(DocWriter& w) override
    {
        w.WriteLong(columns);
        w.WriteLong(rows);
        for (double v : coords)
            w.WriteDouble(v);
    }
    void Read(DocReader& r, void*) override
    {
        columns = r.ReadLong();
        rows = r.ReadLong();
        if (columns < 0 || rows < 0 || (columns > 0 && rows > r.BytesLeft() / 24 / columns))
            throw CFormatException("bad surface size");
        int64_t points = int64_t(columns) * rows;
        coords.resize(static_cast<size_t>(points) * 3);
        for (double& v : coords)
            v = r.ReadDouble();
    }
};

inline bool AcceptsCurve(const ArchiveItem* item)
{
    return item->GetTag() == tag_BCrv || item->GetTag() == tag_Segm;
}

// ---- components ----------------------------------------------------------------

// Shared characters, one per code and font id, never deleted through a row.
class TestChar : public TextComp {
public:
    static TestChar* Get(int fontId, uint8_t code)
    {
        static std::vector<std::unique_ptr<TestChar>> chars = [] {
            std::vector<std::unique_ptr<TestChar>> all;
            for (int f = 0; f < 8; ++f)
                for (int c = 0; c < 256; ++c)
                    all.emplace_back(new TestChar(f, static_cast<uint8_t>(c)));
            return all;
        }();
        return chars[static_cast<size_t>(fontId * 256 + code)].get();
    }
    void Delete() override {}
    TextComp* Clone(LinkRemap&) override { return this; }
    void GetTag(TypeTag& out) const override { out = tag_Char; }
    unsigned char GetChar() const override { return m_code; }
    int GetFontId() const override { return m_fontId; }

private:
    TestChar(int fontId, uint8_t code) : m_fontId(fontId), m_code(code) {}
    int m_fontId;
    uint8_t m_code;
};

// The file form of a character run; rows expand it into shared characters.
class TestCharBlock : public TextComp {
public:
    TextComp* Clone(LinkRemap&) override { return new TestCharBlock(*this); }
    void GetTag(TypeTag& out) const override { out = tag_chBk; }
    int32_t fontId = 0;
    Str255 text;
};

// A component row: a list of component records.
struct TestRow {
    std::vector<TextComp*> items;
    TestRow() = default;
    TestRow(const TestRow&) = delete;
    TestRow& operator=(const TestRow&) = delete;
    ~TestRow()
    {
        for (TextComp* c : items)
            c->Delete();
    }
    void Read(DocReader& r)
    {
        int32_t n = r.BeginList();
        for (int32_t i = 0; i < n; ++i) {
            TextComp* c = r.ReadComponent();
            if (auto* block = dynamic_cast<TestCharBlock*>(c)) {
                for (int k = 0; k < block->text.GetLength(); ++k)
                    items.push_back(TestChar::Get(block->fontId, block->text.GetByteAt(k)));
                c->Delete();
            } else {
                items.push_back(c);
            }
        }
        r.EndList();
    }
    void Write(DocWriter& w)
    {
        w.BeginList();
        for (TextComp* c : items)
            w.WriteListComponent(c);
        w.EndList();
    }
};

// A structure with two child rows ("Frac").
class TestFraction : public TextComp {
public:
    TextComp* Clone(LinkRemap&) override { return nullptr; }
    void GetTag(TypeTag& out) const override { out = tag_Frac; }
    TestRow top, bottom;
};

// A drawing ("Draw"): shapes, constraints and label text.
class TestDrawing : public TextComp {
public:
    TextComp* Clone(LinkRemap&) override { return nullptr; }
    void GetTag(TypeTag& out) const override { out = tag_Draw; }

    void Read(DocReader& r) override
    {
        r.InitTables(this);
        try {
            int32_t n = r.ReadCount(10);
            for (int32_t i = 0; i < n; ++i)
                if (ArchiveItem* s = r.ReadShape())
                    shapes.push_back(s);
            n = r.ReadCount(8);
            for (int32_t i = 0; i < n; ++i)
                if (ArchiveItem* c = r.ReadConstraint())
                    constraints.push_back(c);
            labels.Read(r);
        } catch (...) {
            r.FreeTables();
            throw;
        }
        r.FreeTables();
    }
    void Write(DocWriter& w) override
    {
        w.InitTables();
        w.WriteLong(static_cast<int32_t>(shapes.size()));
        for (ArchiveItem* s : shapes)
            w.WriteShape(*s);
        w.WriteLong(static_cast<int32_t>(constraints.size()));
        for (ArchiveItem* c : constraints)
            w.WriteConstraint(*c);
        labels.Write(w);
        w.FreeTables();
    }

    std::vector<ArchiveItem*> shapes, constraints;
    TestRow labels;
};

// A plot ("2Plt" or "3Plt"): a list of plot item records.
template <const TypeTag& PlotTag, int Dimensions>
class TestPlot : public TextComp {
public:
    TextComp* Clone(LinkRemap&) override { return nullptr; }
    void GetTag(TypeTag& out) const override { out = PlotTag; }
    void Read(DocReader& r) override
    {
        int32_t n = r.ReadCount(8);
        for (int32_t i = 0; i < n; ++i)
            if (ArchiveItem* item = Dimensions == 2 ? r.Read2DPlotItem() : r.Read3DPlotItem())
                items.push_back(item);
    }
    void Write(DocWriter& w) override
    {
        w.WriteLong(static_cast<int32_t>(items.size()));
        for (ArchiveItem* item : items)
            w.WritePlotItem(*item);
    }
    std::vector<ArchiveItem*> items;
};
using TestPlot2D = TestPlot<tag_2Plt, 2>;
using TestPlot3D = TestPlot<tag_3Plt, 3>;

// A link target ("TagV") and a link to one ("Ref "), paired by link ids.
class TestTarget : public TextComp {
public:
    TextComp* Clone(LinkRemap&) override { return nullptr; }
    void GetTag(TypeTag& out) const override { out = tag_TagV; }
};

class TestLink : public TextComp {
public:
    TextComp* Clone(LinkRemap&) override { return nullptr; }
    void GetTag(TypeTag& out) const override { out = tag_Ref; }
    TestTarget* target = nullptr;
};

inline void BindLink(TargetLink* link, LinkTarget* target)
{
    reinterpret_cast<TestLink*>(link)->target = reinterpret_cast<TestTarget*>(target);
}

template <class T>
ComponentCodec CodecOf(void (*read)(TextComp&, DocReader&), void (*write)(TextComp&, DocWriter&))
{
    return {[]() -> TextComp* { return new T; }, read, write};
}

inline void RegisterTestKinds()
{
    ComponentRegistry::Register(tag_chBk, CodecOf<TestCharBlock>(
        [](TextComp& c, DocReader& r) {
            auto& b = static_cast<TestCharBlock&>(c);
            r.ReadCharBlockBody(b.fontId, b.text);
        },
        [](TextComp& c, DocWriter& w) {
            auto& b = static_cast<TestCharBlock&>(c);
            w.WriteCharBlockBody(b.fontId, b.text);
        }));
    ComponentRegistry::Register(tag_Frac, CodecOf<TestFraction>(
        [](TextComp& c, DocReader& r) {
            auto& f = static_cast<TestFraction&>(c);
            f.top.Read(r);
            f.bottom.Read(r);
        },
        [](TextComp& c, DocWriter& w) {
            auto& f = static_cast<TestFraction&>(c);
            f.top.Write(w);
            f.bottom.Write(w);
        }));
    ComponentRegistry::Register(tag_Draw, CodecOf<TestDrawing>(
        [](TextComp& c, DocReader& r) { static_cast<TestDrawing&>(c).Read(r); },
        [](TextComp& c, DocWriter& w) { static_cast<TestDrawing&>(c).Write(w); }));
    ComponentRegistry::Register(tag_2Plt, CodecOf<TestPlot2D>(
        [](TextComp& c, DocReader& r) { static_cast<TestPlot2D&>(c).Read(r); },
        [](TextComp& c, DocWriter& w) { static_cast<TestPlot2D&>(c).Write(w); }));
    ComponentRegistry::Register(tag_3Plt, CodecOf<TestPlot3D>(
        [](TextComp& c, DocReader& r) { static_cast<TestPlot3D&>(c).Read(r); },
        [](TextComp& c, DocWriter& w) { static_cast<TestPlot3D&>(c).Write(w); }));
    ComponentRegistry::Register(tag_TagV, CodecOf<TestTarget>(
        [](TextComp& c, DocReader& r) { r.ReadTargetId(reinterpret_cast<LinkTarget*>(&c)); },
        [](TextComp& c, DocWriter& w) { w.WriteLinkId(&c); }));
    ComponentRegistry::Register(tag_Ref, CodecOf<TestLink>(
        [](TextComp& c, DocReader& r) { r.ReadLinkId(reinterpret_cast<TargetLink*>(&c)); },
        [](TextComp& c, DocWriter& w) { w.WriteLinkId(static_cast<TestLink&>(c).target); }));

    ArchiveRegistry::RegisterShape(tag_Vert, Make<TestVertex>);
    ArchiveRegistry::RegisterShape(tag_Segm, Make<TestSegment>);
    ArchiveRegistry::RegisterShape(tag_Circ, Make<TestCircle>);
    ArchiveRegistry::RegisterShape(tag_Poly, Make<TestPolygon>);
    ArchiveRegistry::RegisterShape(tag_BCrv, Make<TestCurve>);
    ArchiveRegistry::RegisterConstraint(tag_DstC, Make<TestDistance>);
    ArchiveRegistry::RegisterConstraint(tag_EqlC, Make<TestEqual>);
    ArchiveRegistry::RegisterSharedRef(SharedRefKind::Variable, Make<TestVariable>, tag_null);
    ArchiveRegistry::RegisterSharedRef(SharedRefKind::Vertex, Make<TestVertex>, tag_Vert);
    ArchiveRegistry::RegisterSharedRef(SharedRefKind::Segment, Make<TestSegment>, tag_Segm);
    ArchiveRegistry::RegisterSharedRef(SharedRefKind::Curve, Make<TestCurve>, tag_BCrv, AcceptsCurve);
    ArchiveRegistry::RegisterPlotItem(2, 1, Make<TestTick>);
    ArchiveRegistry::RegisterPlotItem(2, 3, Make<TestLine>);
    ArchiveRegistry::RegisterPlotItem(2, 5, Make<TestPolyline>);
    ArchiveRegistry::RegisterPlotItem(3, 6, Make<TestSurface>);
}

// ---- the document --------------------------------------------------------------

struct TestDocument {
    IdPool ids;
    TestRow row;
};

inline void ReadDocument(std::vector<uint8_t> bytes, TestDocument& doc)
{
    MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
    DocReader reader(&stream);
    doc.ids.Read(reader);
    doc.row.Read(reader);
    reader.ResolveLinks(BindLink);
}

inline std::vector<uint8_t> WriteDocument(TestDocument& doc)
{
    auto writeTo = [&doc](ByteStream& stream) {
        DocWriter writer(&stream);
        doc.ids.Write(writer);
        doc.row.Write(writer);
        writer.Flush();
    };
    CountingStream counter;
    writeTo(counter);
    std::vector<uint8_t> bytes(static_cast<size_t>(counter.GetLength()));
    MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
    writeTo(stream);
    return bytes;
}

// Runs one input. Answers false when the input was rejected as bad data.
inline bool RunArchiveInput(const uint8_t* data, size_t size)
{
    RegisterTestKinds();
    struct ItemsScope {
        ~ItemsScope() { FreeItems(); }
    } itemsScope;
    std::vector<uint8_t> written;
    {
        TestDocument doc;
        try {
            ReadDocument(std::vector<uint8_t>(data, data + size), doc);
        } catch (const CFormatException&) {
            return false;
        } catch (const CFileException& e) {
            if (e.m_cause != CFileException::endOfFile)
                throw;
            return false;
        }
        written = WriteDocument(doc);
    }
    // What was read and written must read back and write the same bytes again.
    TestDocument again;
    ReadDocument(written, again);
    if (WriteDocument(again) != written)
        std::abort();
    return true;
}

} // namespace archivefuzz
