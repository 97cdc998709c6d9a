// The drawing's file record.
#include "drawing/DiagramComp.h"

#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawLabel.h"
#include "drawing/KeptRecords.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"
#include "foundation/ArchiveRegistry.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/MemoryStream.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

// A shape record: tag, length and index; a constraint record: tag and
// length; a free label: four doubles and a row count.
constexpr int32_t kMinShapeRecord = 10;
constexpr int32_t kMinConstraintRecord = 8;
constexpr int32_t kMinLabelRecord = 36;

// Both object tables of the writer for the length of a drawing's record.
class WriterTables {
public:
    explicit WriterTables(DocWriter& writer) : m_writer(writer) { writer.InitTables(); }
    ~WriterTables() { m_writer.FreeTables(); }
    WriterTables(const WriterTables&) = delete;
    WriterTables& operator=(const WriterTables&) = delete;

private:
    DocWriter& m_writer;
};

// While the drawing is written, each vertex carries the count of the
// written shapes that use it, as reading counts them again: a compound that
// a removal not yet final holds for its undo is not in the file. Beside kept
// records, which use vertices without telling them, the counts stay.
class WrittenUseCounts {
public:
    WrittenUseCounts(const std::vector<DiagramShape*>& shapes, bool keptRecords)
    {
        if (keptRecords)
            return;
        std::map<VertexShape*, int> uses;
        for (DiagramShape* shape : shapes) {
            for (VertexShape* vertex : shape->GetVertices())
                uses.try_emplace(vertex, 0);
            for (VertexShape* vertex : shape->GetVertexUses())
                ++uses[vertex];
        }
        for (auto [vertex, count] : uses) {
            m_held.emplace_back(vertex, vertex->GetUseCount());
            vertex->SetUseCount(count);
        }
    }
    ~WrittenUseCounts()
    {
        for (auto [vertex, count] : m_held)
            vertex->SetUseCount(count);
    }
    WrittenUseCounts(const WrittenUseCounts&) = delete;
    WrittenUseCounts& operator=(const WrittenUseCounts&) = delete;

private:
    std::vector<std::pair<VertexShape*, int>> m_held;
};

} // namespace

void DiagramComp::Write(DocWriter& writer)
{
    WriterTables tables(writer);
    m_dc.Write(writer);
    writer.WriteShort(static_cast<int16_t>(m_height));
    writer.WriteShort(static_cast<int16_t>(m_width));
    writer.WriteBool(m_showAxes);
    writer.WritePString(m_xName, true);
    writer.WritePString(m_yName, true);
    writer.WriteBool(m_showGrid);
    writer.WriteShort(static_cast<int16_t>(m_gridThickness));
    writer.WriteColor(m_gridColour);
    writer.WriteBool(m_showFrame);
    m_variables.Write(writer);
    const std::vector<DiagramShape*> shapes = ShapesToWrite();
    const WrittenUseCounts counts(shapes, m_keptRecords);
    writer.WriteLong(static_cast<int32_t>(shapes.size()));
    for (DiagramShape* shape : shapes) {
        if (shape->IsKeptRecord())
            static_cast<KeptShape*>(shape)->WriteShapeRecord(writer);
        else
            writer.WriteShape(*shape);
    }
    writer.WriteLong(m_constraints.GetCount());
    for (DrawConstraint* constraint : m_constraints) {
        if (constraint->IsKeptRecord())
            static_cast<KeptConstraint*>(constraint)->WriteRecord(writer);
        else
            writer.WriteConstraint(*constraint);
    }
    int32_t freeLabels = 0;
    for (DrawLabel* label : m_labels)
        freeLabels += label->GetOwner() ? 0 : 1;
    writer.WriteLong(freeLabels);
    for (DrawLabel* label : m_labels)
        if (!label->GetOwner())
            label->Write(writer);
    writer.WriteByte(0);
}

void DiagramComp::Read(DocReader& reader)
{
    const bool trial = m_reading.trial;
    m_reading = ReadState{};
    m_reading.trial = trial;
    m_reading.bodyStart = reader.GetPosition();
    reader.InitTables(this);
    try {
        ReadBody(reader);
    } catch (...) {
        m_readSegments.clear();
        FreeAfterFailedRead(reader);
        reader.FreeTables();
        throw;
    }
    reader.FreeTables();
    m_readSegments.clear();
    m_reading.lastKept = nullptr;
    for (DiagramShape* shape : m_shapes)
        shape->Attach(this);
    for (DrawConstraint* constraint : m_constraints)
        constraint->SetVariableTag(this);
    m_variables.SetOwner(this);
    m_pictureStale = true;
    m_needsLayout = 1;
}

void DiagramComp::ReadBody(DocReader& reader)
{
    m_dc.Read(reader);
    m_height = reader.ReadShort();
    m_width = reader.ReadShort();
    // A drawing without extent would give its axes no step.
    if (m_width < 1 || m_height < 1)
        throw CFormatException("A drawing's size is damaged");
    m_showAxes = reader.ReadBool();
    reader.ReadPString(m_xName, true);
    reader.ReadPString(m_yName, true);
    m_showGrid = reader.ReadBool();
    m_gridThickness = reader.ReadShort();
    m_gridColour = reader.ReadColor();
    m_showFrame = reader.ReadBool();
    m_variables.Read(reader);
    ReadShapes(reader);
    ReadConstraints(reader);
    ReadFreeLabels(reader);
    SettleAfterRead();
    // A non-zero byte announces a row the drawing does not keep; the rest of
    // the record is left unread.
    reader.ReadByte();
}

// Records of kinds without a reader are kept as their bytes. The records
// after them are read as usual, unless one refers into what such a record
// brought: a trial reading of a copy finds where that happens, and from
// there on the records are kept as their bytes too.
bool DiagramComp::KeepsNextRecord(DocReader& reader, bool known)
{
    if (known && m_reading.recordsRead < m_reading.keepFrom)
        return false;
    if (!m_keptRecords) {
        m_keptRecords = true;
        reader.AllowIndexGaps();
        if (!m_reading.trial)
            m_reading.keepFrom = TrialRead(reader);
    }
    return true;
}

void DiagramComp::NoteKept(KeptRecord* kept)
{
    m_reading.lastKept = kept;
    ++m_reading.recordsRead;
}

void DiagramComp::NoteRead(DocReader& reader, std::pair<size_t, size_t> sizesBefore)
{
    if (m_reading.lastKept)
        m_reading.lastKept->AddSlots(reader.EmptySlotsFrom(sizesBefore));
    ++m_reading.recordsRead;
}

namespace {

// Trial readings are not nested: a drawing inside a label of a drawing read
// on trial keeps its records after an unknown one, so that a deep nest of
// drawings costs no more than reading each one twice per level.
int gTrialDepth = 0;

} // namespace

int DiagramComp::TrialRead(DocReader& reader)
{
    if (gTrialDepth > 0)
        return m_reading.recordsRead;
    std::vector<uint8_t> bytes = reader.CopyBytesFrom(m_reading.bodyStart);
    MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
    DocReader copy(&stream);
    DiagramComp trial;
    trial.m_reading.trial = true;
    ++gTrialDepth;
    struct Leave {
        ~Leave() { --gTrialDepth; }
    } leave;
    try {
        trial.Read(copy);
    } catch (const CException&) {
        return trial.m_reading.recordsRead;
    }
    return std::numeric_limits<int>::max();
}

void DiagramComp::ReadShapes(DocReader& reader)
{
    const int32_t count = reader.ReadCount(kMinShapeRecord);
    // The lists grow by a few items at a time: room for all at once keeps a
    // large drawing from being copied over and over (a vertex brings its
    // label).
    m_shapes.Reserve(m_shapes.GetCount() + count);
    m_labels.Reserve(m_labels.GetCount() + count);
    // The shapes listed so far, for the check that none is listed twice.
    std::unordered_set<const DiagramShape*> listed(m_shapes.begin(), m_shapes.end());
    for (int32_t n = 0; n < count; ++n) {
        if (KeepsNextRecord(reader, ArchiveRegistry::FindShape(reader.PeekTag()) != nullptr)) {
            auto* kept = new KeptShape;
            m_shapes.Add(kept);
            kept->ReadShapeRecord(reader);
            NoteKept(kept);
            continue;
        }
        const auto sizes = reader.TableSizes();
        auto* shape = dynamic_cast<DiagramShape*>(reader.ReadShape());
        if (!shape || !listed.insert(shape).second)
            throw CFormatException("A drawing lists a shape twice or a shape of no known kind");
        m_shapes.Add(shape);
        NoteRead(reader, sizes);
    }
}

void DiagramComp::ReadConstraints(DocReader& reader)
{
    const int32_t count = reader.ReadCount(kMinConstraintRecord);
    m_constraints.Reserve(m_constraints.GetCount() + count);
    for (int32_t n = 0; n < count; ++n) {
        if (KeepsNextRecord(reader, ArchiveRegistry::FindConstraint(reader.PeekTag()) != nullptr)) {
            auto* kept = new KeptConstraint;
            m_constraints.Add(kept);
            kept->ReadRecord(reader);
            NoteKept(kept);
            continue;
        }
        const auto sizes = reader.TableSizes();
        std::unique_ptr<ArchiveItem> item(reader.ReadConstraint());
        auto* constraint = dynamic_cast<DrawConstraint*>(item.get());
        if (!constraint)
            throw CFormatException("A drawing's constraint record is damaged");
        item.release();
        m_constraints.Add(constraint);
        NoteRead(reader, sizes);
    }
}

std::vector<DiagramShape*> DiagramComp::ShapesToWrite() const
{
    std::vector<DiagramShape*> shapes(m_shapes.begin(), m_shapes.end());
    for (const ListedPart& part : m_listedParts)
        if (!m_shapes.Contains(part.shape))
            shapes.insert(shapes.begin() + std::min<std::ptrdiff_t>(part.index, std::ssize(shapes)), part.shape);
    return shapes;
}

const std::vector<SegmentShape*>& DiagramComp::FindReadSegments(VertexShape* a, VertexShape* b)
{
    if (m_readSegments.empty())
        for (DiagramShape* shape : m_shapes) {
            ItemArray<DiagramShape> candidates = shape->GetParts();
            candidates.Add(shape);
            for (DiagramShape* candidate : candidates)
                if (auto* segment = dynamic_cast<SegmentShape*>(candidate)) {
                    m_readSegments[{segment->GetStart(), segment->GetEnd()}].push_back(segment);
                    if (segment->GetStart() != segment->GetEnd())
                        m_readSegments[{segment->GetEnd(), segment->GetStart()}].push_back(segment);
                }
        }
    static const std::vector<SegmentShape*> kNone;
    auto found = m_readSegments.find({a, b});
    return found == m_readSegments.end() ? kNone : found->second;
}

void DiagramComp::ReadFreeLabels(DocReader& reader)
{
    const int32_t count = reader.ReadCount(kMinLabelRecord);
    for (int32_t n = 0; n < count; ++n) {
        auto* label = new DrawLabel;
        AddReadLabel(label);
        label->Read(reader);
    }
}

// Everything read so far goes, whether or not the drawing had taken it yet:
// the shapes of the object table, the constraints and the free labels.
void DiagramComp::FreeAfterFailedRead(DocReader& reader)
{
    std::vector<DiagramShape*> shapes(m_shapes.begin(), m_shapes.end());
    for (ArchiveItem* item : reader.GetObjectTable())
        if (auto* shape = dynamic_cast<DiagramShape*>(item))
            shapes.push_back(shape);
    m_shapes.Clear();
    m_listedParts.clear();
    for (DrawLabel* label : m_labels)
        if (!label->GetOwner())
            delete label;
    m_labels.Clear();
    DeleteShapes(shapes);
    FreeItems();
}
