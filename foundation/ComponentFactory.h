#pragma once
// The component factory's table of stored tags, and the registration of the
// component classes with the archive. A class registers a codec built by
// ComponentCodecFor, which creates it and lets it write and read its own
// fields; a stored tag whose class is not present is read as a placeholder
// that keeps the record, so no file content is lost.
#include "foundation/ComponentRegistry.h"
#include "foundation/TextComp.h"

#include <array>

// The tags the factory knows, in the order it compares them.
extern const std::array<TypeTag, 29> kFactoryTags;

template <class T>
ComponentCodec ComponentCodecFor()
{
    return {[]() -> TextComp* { return new T; },
            [](TextComp& comp, DocReader& reader) { comp.Read(reader); },
            [](TextComp& comp, DocWriter& writer) { comp.Write(writer); }};
}

// Registers the classes of the document foundation (the character block);
// does nothing after the first call. Rows call it before they are stored or
// read; the application calls it at start-up.
void RegisterComponentClasses();
