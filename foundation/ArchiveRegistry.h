#pragma once
// The makers through which the archive reader creates drawing constraints,
// shapes, shared references and plot items. The drawing and plot subsystems
// register theirs at start-up; until a kind is registered its records are
// skipped by their length.
#include "foundation/ArchiveItem.h"
#include "foundation/TypeTag.h"

#include <cstdint>

using ArchiveItemMaker = ArchiveItem* (*)();

// The classes that a shared reference creates on first sight.
enum class SharedRefKind { Variable, Vertex, Segment, Curve, PlotShape };

class ArchiveRegistry {
public:
    static void RegisterConstraint(TypeTag tag, ArchiveItemMaker maker);
    static void RegisterShape(TypeTag tag, ArchiveItemMaker maker);
    // dimensions: 2 or 3.
    static void RegisterPlotItem(int dimensions, int32_t kind, ArchiveItemMaker maker);
    // accepts tells whether an object read earlier may stand where a reference
    // of this kind is expected; without it the object's tag must be expectedTag.
    static void RegisterSharedRef(SharedRefKind kind, ArchiveItemMaker maker, TypeTag expectedTag,
                                  bool (*accepts)(const ArchiveItem*) = nullptr);
    // Forgets every registration (tests).
    static void Clear();

    static ArchiveItemMaker FindConstraint(TypeTag tag);
    static ArchiveItemMaker FindShape(TypeTag tag);
    static ArchiveItemMaker FindPlotItem(int dimensions, int32_t kind);
    static ArchiveItemMaker FindSharedRef(SharedRefKind kind);
    static bool AcceptsSharedRef(SharedRefKind kind, const ArchiveItem* item);
};
