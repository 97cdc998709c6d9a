#pragma once
// The reading half of the document archive. Everything it reads may come
// from a damaged file or another program's clipboard block, so lengths,
// counts, indexes and nesting are checked: bad data raises CFormatException
// and running out of data the stream's end-of-file CFileException; nothing
// is read beyond the record being read, and after every record the reader
// goes on at that record's end.
#include "foundation/ArchiveRegistry.h"
#include "foundation/TypeTag.h"
#include "platform/draw/GdiTypes.h"

#include <cstdint>
#include <deque>
#include <map>
#include <utility>
#include <vector>

class ArchiveItem;
class ByteStream;
class LinkTarget;
class Str255;
class TargetLink;
class TextComp;

class DocReader {
public:
    static constexpr int kMaxListDepth = 1024;
    // Records and first-seen shared objects inside one another: a component
    // record and a drawing record for each list level, and a margin for the
    // shared objects a drawing's records bring with them.
    static constexpr int kMaxNesting = 2 * kMaxListDepth + 64;
    // The smallest component record: tag and length.
    static constexpr int32_t kMinRecordSize = 8;

    explicit DocReader(ByteStream* stream);
    DocReader(const DocReader&) = delete;
    DocReader& operator=(const DocReader&) = delete;

    uint8_t ReadByte();
    bool ReadBool() { return ReadByte() != 0; }
    int16_t ReadShort();
    uint16_t ReadUShort();
    int32_t ReadLong();
    int32_t ReadLongValue() { return ReadLong(); }
    double ReadDouble();
    COLORREF ReadColor();
    TypeTag ReadTag() { return TypeTag(static_cast<uint32_t>(ReadLong())); }
    void ReadBytes(void* buf, int32_t n);
    void Skip(int32_t n);
    // The string ends before the first character that reads as 0.
    void ReadPString(Str255& out, bool symbolFont);

    int32_t GetPosition();
    // Bytes left before the end of the record being read (or of the stream).
    int32_t BytesLeft();
    // A count of items that each take at least minItemBytes: negative counts
    // and counts the remaining data cannot hold are format errors.
    int32_t ReadCount(int32_t minItemBytes);

    // A list of component records: its count is checked against the data left
    // and its nesting against the writer's limit. Pair with EndList.
    int32_t BeginList();
    void EndList();

    // One component record; an unknown tag gives an UnknownRecordComp holding
    // the record's body. The caller owns the result.
    TextComp* ReadComponent();
    // The fields of a "chBk" record; a font id outside 0..7 is a format error.
    void ReadCharBlockBody(int32_t& fontId, Str255& text);

    // Drawing and plot records: null for a kind with no registered maker,
    // whose record is skipped.
    ArchiveItem* ReadConstraint();
    ArchiveItem* ReadShape();
    ArchiveItem* Read2DPlotItem() { return ReadPlotItem(2); }
    ArchiveItem* Read3DPlotItem() { return ReadPlotItem(3); }
    // The tag of the record that starts here, without reading past it.
    TypeTag PeekTag();
    // A framed record kept as it is: its tag and everything after its length.
    void ReadRawRecord(TypeTag& tag, std::vector<uint8_t>& body);

    // The shared tables of one drawing (a drawing inside a drawing gets its own).
    void InitTables(void* context);
    void FreeTables();
    void* GetContext() const;
    // The objects read into the current drawing's shape table, in index order
    // (null for a skipped shape of an unknown kind): a drawing whose reading
    // failed frees from here what it had not yet taken.
    const std::vector<ArchiveItem*>& GetObjectTable() const;
    // After a record of a kind that is not read, objects its body brought
    // are missing from the tables: from then on an index beyond the count is
    // a first sight at that index (the slots before it stay empty, and a
    // reference to one is a format error).
    void AllowIndexGaps();
    // A record kept unread that names itself by an object index: its slot.
    void ReserveObjectSlot(uint16_t index);
    // The sizes of the current tables (variables, objects) and how many of
    // their slots from the given sizes on are empty.
    std::pair<size_t, size_t> TableSizes() const;
    std::pair<int, int> EmptySlotsFrom(std::pair<size_t, size_t> sizes) const;
    // The bytes from a position to the end of the record being read; the
    // reader stays where it was.
    std::vector<uint8_t> CopyBytesFrom(int32_t position);

    ArchiveItem* ReadVariableRef() { return ReadSharedRef(SharedRefKind::Variable); }
    ArchiveItem* ReadVertexRef() { return ReadSharedRef(SharedRefKind::Vertex); }
    ArchiveItem* ReadSegmentRef() { return ReadSharedRef(SharedRefKind::Segment); }
    ArchiveItem* ReadCurveRef() { return ReadSharedRef(SharedRefKind::Curve); }
    ArchiveItem* ReadPlotShapeRef() { return ReadSharedRef(SharedRefKind::PlotShape); }

    // Link ids pair links with their targets within one file.
    void ReadTargetId(LinkTarget* target);
    void ReadLinkId(TargetLink* link);
    using LinkBinder = void (*)(TargetLink* link, LinkTarget* target);
    // Binds every link read to the target of its id (links whose id names no
    // target stay unbound), then forgets both.
    void ResolveLinks(LinkBinder bind);

private:
    friend class RecordScope;
    struct Tables {
        void* context = nullptr;
        std::vector<ArchiveItem*> variables;
        std::vector<ArchiveItem*> objects;
        bool gaps = false;
    };
    // A first sight at an index beyond the count: allowed only after a
    // record kept unread, when the slots before it stay empty.
    void OpenSlot(std::vector<ArchiveItem*>& table, uint16_t index, const char* beyond);

    void Fetch(void* buf, int32_t n);
    int32_t Limit() const;
    // Reads a record's length field and answers the record's end.
    int32_t ReadRecordEnd();
    void SkipTo(int32_t end);
    Tables& CurrentTables();
    ArchiveItem* ReadPlotItem(int dimensions);
    ArchiveItem* ReadItemBody(int32_t end, ArchiveItemMaker maker);
    ArchiveItem* ReadSharedRef(SharedRefKind kind);

    ByteStream* m_stream;
    int32_t m_streamLength;
    std::vector<int32_t> m_recordEnds;
    int m_listDepth = 0;
    int m_nesting = 0;
    // A deque keeps references to outer tables valid while a nested drawing adds its own.
    std::deque<Tables> m_tables;
    std::map<int32_t, LinkTarget*> m_targets;
    std::vector<std::pair<TargetLink*, int32_t>> m_links;
};
