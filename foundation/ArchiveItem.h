#pragma once
// The archive's view of the objects a drawing or plot stores in framed
// records or shared tables: drawing variables, shapes, constraints and plot
// items. Their subsystems derive from it and override what they use.
#include "foundation/TypeTag.h"

#include <cstdint>

class DocReader;
class DocWriter;

// A drawing's table of shared variables, and its table of shared objects,
// holds at most this many entries: indexes are 16-bit, 0..65534, on file,
// and the writer and the reader agree on it, so that every file that opens
// can be saved again.
constexpr int32_t kMaxSharedObjects = 65535;

class ArchiveItem {
public:
    virtual ~ArchiveItem() = default;

    // Shapes and constraints: the record's tag.
    virtual TypeTag GetTag() const { return tag_null; }
    // Plot items: the record's kind.
    virtual int32_t GetKind() const { return 0; }
    // The object's own fields.
    virtual void Write(DocWriter& writer) {}
    // Reads the fields; context is the object that the records being read
    // belong to (the drawing), as given to DocReader::InitTables.
    virtual void Read(DocReader& reader, void* context) {}
};
