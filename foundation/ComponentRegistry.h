#pragma once
// How the archive creates, reads and writes components by tag. Each component
// class registers its codec when its subsystem starts; a tag with no codec is
// read as an UnknownRecordComp that keeps the record's bytes.
#include "foundation/TypeTag.h"

class TextComp;
class DocReader;
class DocWriter;

struct ComponentCodec {
    TextComp* (*create)() = nullptr;                    // a new, empty component
    void (*read)(TextComp&, DocReader&) = nullptr;      // reads the fields after tag and length
    void (*write)(TextComp&, DocWriter&) = nullptr;     // writes those fields
};

class ComponentRegistry {
public:
    static void Register(TypeTag tag, const ComponentCodec& codec);
    static void Unregister(TypeTag tag);
    // The codec of a tag, or null.
    static const ComponentCodec* Find(TypeTag tag);
};

// The component factory: a new, empty component of the class the tag names, or
// null for a tag with no registered class (also when allocation fails).
TextComp* CreateComponentFromTag(TypeTag tag);
