#include "foundation/DocReader.h"

#include <algorithm>

#include "foundation/ArchiveCharMaps.h"
#include "foundation/ArchiveItem.h"
#include "foundation/ByteStream.h"
#include "foundation/ComponentRegistry.h"
#include "foundation/FontIds.h"
#include "foundation/Str255.h"
#include "foundation/TextComp.h"
#include "foundation/UnknownRecordComp.h"
#include "platform/Exceptions.h"

#include <bit>
#include <memory>

// While a record's body is read: the body may not read past the record's end,
// and records may not nest deeper than the limit. On leaving, the stream is
// placed at the record's end.
class RecordScope {
public:
    RecordScope(DocReader& reader, int32_t end) : m_reader(reader), m_end(end)
    {
        if (reader.m_nesting >= DocReader::kMaxNesting)
            throw CFormatException("The records are nested too deeply");
        ++reader.m_nesting;
        reader.m_recordEnds.push_back(end);
    }
    ~RecordScope()
    {
        m_reader.m_recordEnds.pop_back();
        --m_reader.m_nesting;
    }
    RecordScope(const RecordScope&) = delete;
    RecordScope& operator=(const RecordScope&) = delete;

    void Finish() { m_reader.SkipTo(m_end); }

private:
    DocReader& m_reader;
    int32_t m_end;
};

DocReader::DocReader(ByteStream* stream) : m_stream(stream), m_streamLength(stream->GetLength()) {}

int32_t DocReader::Limit() const
{
    return m_recordEnds.empty() ? m_streamLength : m_recordEnds.back();
}

int32_t DocReader::GetPosition()
{
    return m_stream->GetPosition();
}

int32_t DocReader::BytesLeft()
{
    int32_t left = Limit() - GetPosition();
    return left < 0 ? 0 : left;
}

void DocReader::Fetch(void* buf, int32_t n)
{
    if (n < 0)
        throw CFormatException("A negative size was read");
    if (n > BytesLeft()) {
        if (m_recordEnds.empty())
            ThrowEndOfFile();
        throw CFormatException("A record's data runs past the record's end");
    }
    m_stream->Read(buf, n);
}

void DocReader::SkipTo(int32_t end)
{
    m_stream->Seek(end);
}

uint8_t DocReader::ReadByte()
{
    uint8_t b = 0;
    Fetch(&b, 1);
    return b;
}

uint16_t DocReader::ReadUShort()
{
    uint8_t b[2];
    Fetch(b, 2);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

int16_t DocReader::ReadShort()
{
    return static_cast<int16_t>(ReadUShort());
}

int32_t DocReader::ReadLong()
{
    uint8_t b[4];
    Fetch(b, 4);
    return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

double DocReader::ReadDouble()
{
    uint8_t b[8];
    Fetch(b, 8);
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | b[i];
    return std::bit_cast<double>(v);
}

COLORREF DocReader::ReadColor()
{
    uint8_t b[3];
    Fetch(b, 3);
    return RGB(b[0], b[1], b[2]);
}

void DocReader::ReadBytes(void* buf, int32_t n)
{
    Fetch(buf, n);
}

void DocReader::Skip(int32_t n)
{
    if (n < 0 || n > BytesLeft()) {
        if (n >= 0 && m_recordEnds.empty())
            ThrowEndOfFile();
        throw CFormatException("A skip leaves the record being read");
    }
    m_stream->Seek(GetPosition() + n);
}

void DocReader::ReadPString(Str255& out, bool symbolFont)
{
    uint8_t bytes[255];
    int n = ReadByte();
    Fetch(bytes, n);
    out.Clear();
    for (int i = 0; i < n; ++i) {
        uint8_t c = DecodeArchiveChar(bytes[i], symbolFont);
        if (c == 0)
            break;
        out.AppendChar(static_cast<char>(c));
    }
}

int32_t DocReader::ReadCount(int32_t minItemBytes)
{
    int32_t count = ReadLong();
    if (count < 0)
        throw CFormatException("A negative count was read");
    if (minItemBytes > 0 && count > BytesLeft() / minItemBytes)
        throw CFormatException("A count is larger than the data that follows");
    return count;
}

int32_t DocReader::BeginList()
{
    if (m_listDepth >= kMaxListDepth)
        throw CFormatException("The lists are nested too deeply");
    int32_t count = ReadCount(kMinRecordSize);
    ++m_listDepth;
    return count;
}

void DocReader::EndList()
{
    if (m_listDepth > 0)
        --m_listDepth;
}

int32_t DocReader::ReadRecordEnd()
{
    int32_t lengthPos = GetPosition();
    int32_t length = ReadLong();
    // The length counts its own four bytes and must stay inside what encloses it.
    if (length < 4 || length > Limit() - lengthPos)
        throw CFormatException("A record length is out of range");
    return lengthPos + length;
}

TextComp* DocReader::ReadComponent()
{
    TypeTag tag = ReadTag();
    int32_t end = ReadRecordEnd();
    RecordScope scope(*this, end);
    // Only the kinds of the factory's table are stored as components: a
    // paragraph or a single character in a row is kept as an unknown record.
    const ComponentCodec* codec = ComponentRegistry::Find(tag);
    TextComp* comp = codec && codec->read ? TextComp::CreateFromTag(tag) : nullptr;
    if (!comp) {
        std::vector<uint8_t> body(static_cast<size_t>(BytesLeft()));
        Fetch(body.data(), static_cast<int32_t>(body.size()));
        return new UnknownRecordComp(tag, std::move(body));
    }
    try {
        codec->read(*comp, *this);
        scope.Finish();
    } catch (...) {
        comp->Delete();
        throw;
    }
    return comp;
}

void DocReader::ReadCharBlockBody(int32_t& fontId, Str255& text)
{
    int32_t id = ReadShort();
    if (id < 0 || id >= FontId::kCount)
        throw CFormatException("A character run names an unknown font");
    fontId = id;
    ReadPString(text, id == FontId::kMath);
}

ArchiveItem* DocReader::ReadConstraint()
{
    TypeTag tag = ReadTag();
    int32_t end = ReadRecordEnd();
    return ReadItemBody(end, ArchiveRegistry::FindConstraint(tag));
}

ArchiveItem* DocReader::ReadShape()
{
    TypeTag tag = ReadTag();
    int32_t end = ReadRecordEnd();
    RecordScope scope(*this, end);
    std::vector<ArchiveItem*>& table = CurrentTables().objects;
    uint16_t index = ReadUShort();
    ArchiveItemMaker maker = ArchiveRegistry::FindShape(tag);
    if (index < table.size()) {
        ArchiveItem* known = table[index];
        if (!known && !maker) {
            scope.Finish();
            return nullptr;
        }
        if (!known || !(known->GetTag() == tag))
            throw CFormatException("A shape record refers to an object of another kind");
        scope.Finish();
        return known;
    }
    if (!maker) {
        // Keep the indexes of later objects in step with the writer's table.
        if (index == table.size() && index < kMaxSharedObjects)
            table.push_back(nullptr);
        scope.Finish();
        return nullptr;
    }
    OpenSlot(table, index, "A shape index lies beyond the shapes read so far");
    ArchiveItem* shape = maker();
    table.push_back(shape);
    shape->Read(*this, GetContext());
    scope.Finish();
    return shape;
}

TypeTag DocReader::PeekTag()
{
    int32_t start = GetPosition();
    TypeTag tag = ReadTag();
    m_stream->Seek(start);
    return tag;
}

void DocReader::ReadRawRecord(TypeTag& tag, std::vector<uint8_t>& body)
{
    tag = ReadTag();
    int32_t end = ReadRecordEnd();
    body.resize(static_cast<size_t>(end - GetPosition()));
    Fetch(body.data(), static_cast<int32_t>(body.size()));
}

ArchiveItem* DocReader::ReadPlotItem(int dimensions)
{
    int32_t kind = ReadLong();
    int32_t end = ReadRecordEnd();
    return ReadItemBody(end, ArchiveRegistry::FindPlotItem(dimensions, kind));
}

// The body of a record that ends at end: read by a new item from maker, or
// skipped (no item) when no reader knows the record's kind.
ArchiveItem* DocReader::ReadItemBody(int32_t end, ArchiveItemMaker maker)
{
    RecordScope scope(*this, end);
    if (!maker) {
        scope.Finish();
        return nullptr;
    }
    std::unique_ptr<ArchiveItem> item(maker());
    item->Read(*this, GetContext());
    scope.Finish();
    return item.release();
}

void DocReader::InitTables(void* context)
{
    m_tables.emplace_back();
    m_tables.back().context = context;
}

void DocReader::FreeTables()
{
    if (!m_tables.empty())
        m_tables.pop_back();
}

void* DocReader::GetContext() const
{
    return m_tables.empty() ? nullptr : m_tables.back().context;
}

void DocReader::OpenSlot(std::vector<ArchiveItem*>& table, uint16_t index, const char* beyond)
{
    if (index >= kMaxSharedObjects)
        throw CFormatException("A drawing holds more shared objects than can be stored");
    if (index == table.size())
        return;
    if (!CurrentTables().gaps)
        throw CFormatException(beyond);
    table.resize(index, nullptr);
}

void DocReader::AllowIndexGaps()
{
    CurrentTables().gaps = true;
}

void DocReader::ReserveObjectSlot(uint16_t index)
{
    std::vector<ArchiveItem*>& table = CurrentTables().objects;
    if (index >= table.size())
        table.resize(size_t{index} + 1, nullptr);
}

std::pair<size_t, size_t> DocReader::TableSizes() const
{
    if (m_tables.empty())
        return {0, 0};
    return {m_tables.back().variables.size(), m_tables.back().objects.size()};
}

std::pair<int, int> DocReader::EmptySlotsFrom(std::pair<size_t, size_t> sizes) const
{
    if (m_tables.empty())
        return {0, 0};
    auto empty = [](const std::vector<ArchiveItem*>& table, size_t from) {
        return static_cast<int>(std::count(table.begin() + static_cast<std::ptrdiff_t>(std::min(from, table.size())),
                                           table.end(), nullptr));
    };
    return {empty(m_tables.back().variables, sizes.first), empty(m_tables.back().objects, sizes.second)};
}

std::vector<uint8_t> DocReader::CopyBytesFrom(int32_t position)
{
    const int32_t here = GetPosition();
    m_stream->Seek(position);
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(0, Limit() - position)));
    Fetch(bytes.data(), static_cast<int32_t>(bytes.size()));
    m_stream->Seek(here);
    return bytes;
}

const std::vector<ArchiveItem*>& DocReader::GetObjectTable() const
{
    static const std::vector<ArchiveItem*> none;
    return m_tables.empty() ? none : m_tables.back().objects;
}

DocReader::Tables& DocReader::CurrentTables()
{
    if (m_tables.empty())
        throw CFormatException("Drawing data was found outside a drawing");
    return m_tables.back();
}

ArchiveItem* DocReader::ReadSharedRef(SharedRefKind kind)
{
    Tables& tables = CurrentTables();
    bool isVariable = kind == SharedRefKind::Variable;
    std::vector<ArchiveItem*>& table = isVariable ? tables.variables : tables.objects;
    uint16_t index = ReadUShort();
    if (index < table.size()) {
        ArchiveItem* known = table[index];
        if (!known || (!isVariable && !ArchiveRegistry::AcceptsSharedRef(kind, known)))
            throw CFormatException("A reference names an object of another kind");
        return known;
    }
    OpenSlot(table, index, "A reference index lies beyond the objects read so far");
    ArchiveItemMaker maker = ArchiveRegistry::FindSharedRef(kind);
    if (!maker)
        throw CFormatException("A reference names a kind of object that cannot be read");
    if (m_nesting >= kMaxNesting)
        throw CFormatException("The records are nested too deeply");
    ++m_nesting;
    struct Unnest {
        int& n;
        ~Unnest() { --n; }
    } unnest{m_nesting};
    if (isVariable) {
        // A variable reads itself before it joins the table.
        std::unique_ptr<ArchiveItem> variable(maker());
        variable->Read(*this, tables.context);
        table.push_back(variable.get());
        return variable.release();
    }
    // A shape joins the table first, so references back to it inside its own
    // data resolve.
    ArchiveItem* object = maker();
    table.push_back(object);
    object->Read(*this, tables.context);
    return object;
}

void DocReader::ReadTargetId(LinkTarget* target)
{
    m_targets.emplace(ReadLong(), target);
}

void DocReader::ReadLinkId(TargetLink* link)
{
    m_links.emplace_back(link, ReadLong());
}

void DocReader::ResolveLinks(LinkBinder bind)
{
    for (auto& [link, id] : m_links) {
        auto it = m_targets.find(id);
        if (it != m_targets.end())
            bind(link, it->second);
    }
    m_links.clear();
    m_targets.clear();
}
