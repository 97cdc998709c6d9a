#pragma once
// The writing half of the document archive: little-endian primitives, short
// strings through the character translation, counted lists of component
// records (runs of characters of one font become "chBk" records), framed
// drawing and plot records, shared objects written once and then by index,
// and link ids handed out in order of first use.
#include "foundation/ArchiveItem.h"
#include "foundation/Str255.h"
#include "foundation/TypeTag.h"
#include "platform/draw/GdiTypes.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <typeindex>
#include <unordered_map>
#include <utility>
#include <vector>

class ArchiveItem;
class ByteStream;
class TextComp;

class DocWriter {
public:
    static constexpr int kMaxListDepth = 1024;
    static constexpr int32_t kMaxSharedObjects = ::kMaxSharedObjects;

    explicit DocWriter(ByteStream* stream);
    DocWriter(const DocWriter&) = delete;
    DocWriter& operator=(const DocWriter&) = delete;

    ByteStream* GetStream() const { return m_stream; }

    void WriteByte(uint8_t value);
    void WriteBool(bool value) { WriteByte(value ? 1 : 0); }
    void WriteShort(int16_t value);
    void WriteLong(int32_t value);
    void WriteLongValue(int32_t value) { WriteLong(value); }
    void WriteDouble(double value);
    void WriteColor(COLORREF color);
    void WriteTag(TypeTag tag) { WriteLong(static_cast<int32_t>(tag.Value())); }
    void WriteBytes(const void* buf, int32_t n);
    void WritePString(const Str255& text, bool symbolFont);
    void Flush();

    // Lists of components: a 32-bit count, back-patched by EndList.
    void BeginList();
    void WriteListComponent(TextComp* comp);
    void EndList();
    int GetDepth() const { return m_depth; }

    // tag, 32-bit length counting itself, then the component's fields.
    void WriteComponentRecord(TextComp* comp);
    // The fields of a "chBk" record: the font id and the characters.
    void WriteCharBlockBody(int32_t fontId, const Str255& text);

    // Drawing and plot records, framed like component records.
    void WriteConstraint(ArchiveItem& constraint);
    void WriteShape(ArchiveItem& shape);
    void WritePlotItem(ArchiveItem& item);
    // A record kept as it was read (DocReader::ReadRawRecord).
    void WriteRawRecord(TypeTag tag, const std::vector<uint8_t>& body);

    // The shared tables of one drawing (a drawing inside a drawing gets its own).
    void InitTables();
    void FreeTables();
    void WriteVariableRef(ArchiveItem* variable);
    void WriteSharedObject(ArchiveItem* object);
    // Empty slots in the tables for objects a record kept unread brought
    // with it, so that later indexes stay those the record's file gave; an
    // object index a kept record names itself takes its slot up to it.
    void ReserveSharedSlots(int variables, int objects);
    void ReserveObjectSlot(uint16_t index);

    // Link ids: the id of a link target within this file, 1, 2, 3, ... in
    // order of first use (0 for no target). Targets and links both write it.
    int32_t LinkIdFor(const void* target);
    void WriteLinkId(const void* target) { WriteLong(LinkIdFor(target)); }

    // What records work out about an object of the document (the variables
    // a drawing holds, which each of its value displays asks): worked out
    // once per file and kept while the writer lives, since nothing changes
    // the document while it is written.
    template <class Fact, class Work>
    const Fact& Once(const void* object, Work&& work);

private:
    struct SharedTable {
        std::vector<ArchiveItem*> items;
        std::unordered_map<const ArchiveItem*, int32_t> index;
    };
    struct Tables {
        SharedTable variables;
        SharedTable objects;
    };

    // tag or kind, a length placeholder, the body; then the length is patched.
    template <class Body>
    void WriteFramed(int32_t tagOrKind, Body&& body);
    int32_t BeginFrame(int32_t tagOrKind);
    void EndFrame(int32_t lengthPos);
    void WritePendingRun();
    void WriteShared(SharedTable& table, ArchiveItem* object);
    Tables& CurrentTables();

    ByteStream* m_stream;
    // The character run being gathered.
    bool m_runPending = false;
    int32_t m_runFontId = 0;
    Str255 m_runText;
    int32_t m_listStart[kMaxListDepth];
    int32_t m_listCount[kMaxListDepth];
    int m_depth = -1;
    std::deque<Tables> m_tables;
    std::unordered_map<const void*, int32_t> m_linkIds;
    std::map<std::pair<std::type_index, const void*>, std::shared_ptr<const void>> m_facts;
};

template <class Fact, class Work>
const Fact& DocWriter::Once(const void* object, Work&& work)
{
    std::shared_ptr<const void>& fact = m_facts[{std::type_index(typeid(Fact)), object}];
    if (!fact)
        fact = std::make_shared<const Fact>(work());
    return *static_cast<const Fact*>(fact.get());
}

template <class Body>
void DocWriter::WriteFramed(int32_t tagOrKind, Body&& body)
{
    int32_t lengthPos = BeginFrame(tagOrKind);
    body();
    EndFrame(lengthPos);
}
