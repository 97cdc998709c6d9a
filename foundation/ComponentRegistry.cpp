#include "foundation/ComponentRegistry.h"

#include "foundation/TextComp.h"

#include <map>
#include <new>

namespace {

std::map<uint32_t, ComponentCodec>& Codecs()
{
    static std::map<uint32_t, ComponentCodec> codecs;
    return codecs;
}

} // namespace

void ComponentRegistry::Register(TypeTag tag, const ComponentCodec& codec)
{
    Codecs()[tag.Value()] = codec;
}

void ComponentRegistry::Unregister(TypeTag tag)
{
    Codecs().erase(tag.Value());
}

const ComponentCodec* ComponentRegistry::Find(TypeTag tag)
{
    auto it = Codecs().find(tag.Value());
    return it == Codecs().end() ? nullptr : &it->second;
}

TextComp* CreateComponentFromTag(TypeTag tag)
{
    const ComponentCodec* codec = ComponentRegistry::Find(tag);
    if (!codec || !codec->create)
        return nullptr;
    try {
        return codec->create();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
