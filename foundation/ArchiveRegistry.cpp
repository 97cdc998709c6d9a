#include "foundation/ArchiveRegistry.h"

#include <map>
#include <utility>

namespace {

struct SharedRefEntry {
    ArchiveItemMaker maker = nullptr;
    TypeTag expectedTag;
    bool (*accepts)(const ArchiveItem*) = nullptr;
};

struct Registry {
    std::map<uint32_t, ArchiveItemMaker> constraints;
    std::map<uint32_t, ArchiveItemMaker> shapes;
    std::map<std::pair<int, int32_t>, ArchiveItemMaker> plotItems;
    std::map<SharedRefKind, SharedRefEntry> sharedRefs;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

template <class Map, class Key>
ArchiveItemMaker Lookup(const Map& map, const Key& key)
{
    auto it = map.find(key);
    return it == map.end() ? nullptr : it->second;
}

} // namespace

void ArchiveRegistry::RegisterConstraint(TypeTag tag, ArchiveItemMaker maker)
{
    TheRegistry().constraints[tag.Value()] = maker;
}

void ArchiveRegistry::RegisterShape(TypeTag tag, ArchiveItemMaker maker)
{
    TheRegistry().shapes[tag.Value()] = maker;
}

void ArchiveRegistry::RegisterPlotItem(int dimensions, int32_t kind, ArchiveItemMaker maker)
{
    TheRegistry().plotItems[{dimensions, kind}] = maker;
}

void ArchiveRegistry::RegisterSharedRef(SharedRefKind kind, ArchiveItemMaker maker, TypeTag expectedTag,
                                        bool (*accepts)(const ArchiveItem*))
{
    TheRegistry().sharedRefs[kind] = {maker, expectedTag, accepts};
}

void ArchiveRegistry::Clear()
{
    TheRegistry() = Registry();
}

ArchiveItemMaker ArchiveRegistry::FindConstraint(TypeTag tag)
{
    return Lookup(TheRegistry().constraints, tag.Value());
}

ArchiveItemMaker ArchiveRegistry::FindShape(TypeTag tag)
{
    return Lookup(TheRegistry().shapes, tag.Value());
}

ArchiveItemMaker ArchiveRegistry::FindPlotItem(int dimensions, int32_t kind)
{
    return Lookup(TheRegistry().plotItems, std::make_pair(dimensions, kind));
}

ArchiveItemMaker ArchiveRegistry::FindSharedRef(SharedRefKind kind)
{
    auto it = TheRegistry().sharedRefs.find(kind);
    return it == TheRegistry().sharedRefs.end() ? nullptr : it->second.maker;
}

bool ArchiveRegistry::AcceptsSharedRef(SharedRefKind kind, const ArchiveItem* item)
{
    auto it = TheRegistry().sharedRefs.find(kind);
    if (!item || it == TheRegistry().sharedRefs.end())
        return false;
    if (it->second.accepts)
        return it->second.accepts(item);
    return item->GetTag() == it->second.expectedTag;
}
