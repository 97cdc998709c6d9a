// Collections, groups and patches of polygon facets.
#include "render3d/Render3dState.h"

#include <algorithm>

namespace {

std::vector<Vec3> modelVertices(int count, const Point3d* points, const Matrix3d* matrix)
{
    Matrix3d identity;
    mIdentity(&identity);
    const Matrix3d& m = matrix ? *matrix : identity;
    std::vector<Vec3> vertices;
    vertices.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        vertices.push_back(TransformVec(ToVec3(points[i]), m));
    return vertices;
}

bool validSlot(const Group3d* group, int index)
{
    return group && index >= 0 && std::size_t(index) < group->patches.size();
}

int storePatch(Group3d* group, int index, std::unique_ptr<Patch3d> patch, const SurfaceAttributes3d* attributes)
{
    if (attributes)
        patch->attributes = *attributes;
    group->patches[std::size_t(index)] = std::move(patch);
    return kRender3dOk;
}

}  // namespace

Collection3d* NewCollection(int groups)
{
    return groups < 0 ? nullptr : new Collection3d(groups);
}

Group3d* NewGroup(int patches)
{
    if (patches < 0)
        return nullptr;
    auto* group = new Group3d;
    group->patches.resize(std::size_t(patches));
    return group;
}

void MakePolyFacet(Facet3d* facet, int count, const std::int32_t* indices, const Point3d*)
{
    count = std::clamp(count, 0, kMaxFacetCorners);
    for (int i = 0; i < kMaxFacetCorners; ++i)
        facet->index[i] = i < count && indices ? indices[i] : -1;
}

int NewPatch(Group3d* group, int index, int vertexCount, const Point3d* vertices, int facetCount,
             const Facet3d* facets, const SurfaceAttributes3d* attributes, const Matrix3d* matrix)
{
    if (!validSlot(group, index) || vertexCount < 0 || facetCount < 0 || (vertexCount > 0 && !vertices) ||
        (facetCount > 0 && !facets))
        return kRender3dBadArgument;
    auto patch = std::make_unique<Patch3d>();
    for (int f = 0; f < facetCount; ++f) {
        std::vector<int> corners;
        for (std::int32_t corner : facets[f].index) {
            if (corner < 0)
                break;
            if (corner >= vertexCount)
                return kRender3dBadArgument;
            corners.push_back(corner);
        }
        patch->facets.push_back(std::move(corners));
    }
    patch->vertices = modelVertices(vertexCount, vertices, matrix);
    return storePatch(group, index, std::move(patch), attributes);
}

int xfMatrix2Patch(Group3d* group, int index, int wrapRows, int wrapColumns, int rows, int pointCount,
                   const Point3d* points, const SurfaceAttributes3d* attributes, const Matrix3d* matrix)
{
    if (!validSlot(group, index) || rows <= 0 || pointCount < 0 || pointCount % rows != 0 ||
        (pointCount > 0 && !points))
        return kRender3dBadArgument;
    int columns = pointCount / rows;
    auto patch = std::make_unique<Patch3d>();
    patch->vertices = modelVertices(pointCount, points, matrix);
    // A grid joined round needs more than two rows (columns) to close.
    int cellRows = wrapRows && rows > 2 ? rows : rows - 1;
    int cellColumns = wrapColumns && columns > 2 ? columns : columns - 1;
    auto at = [columns, rows](int r, int c) { return (r % rows) * columns + c % columns; };
    for (int r = 0; r < cellRows; ++r)
        for (int c = 0; c < cellColumns; ++c)
            patch->facets.push_back({at(r, c), at(r, c + 1), at(r + 1, c + 1), at(r + 1, c)});
    return storePatch(group, index, std::move(patch), attributes);
}

void DisposeGroup(Group3d* group)
{
    delete group;
}

void DisposeCollection(Collection3d* collection)
{
    if (!collection)
        return;
    // A group entered twice is still freed once.
    std::vector<Group3d*> groups = collection->groups;
    std::sort(groups.begin(), groups.end());
    groups.erase(std::unique(groups.begin(), groups.end()), groups.end());
    for (Group3d* group : groups)
        DisposeGroup(group);
    delete collection;
}
