#pragma once
// The 3-D renderer of the plots: a small library with one current state that
// draws through a platform device context.
//
// Numbers are 16.16 fixed point (65536 = 1.0) in signed 32-bit words. A point
// is four words: x, y, z and a free fourth word that no call reads. Matrices
// are 4 x 4 words applied to row vectors: p' = (x, y, z, 1) M, so the
// translation is the last row and mMult4x4 (a, b) applies a first, then b.
//
// Frames: patch vertices and the points of the xf calls are in model space;
// matrix 1 turns the model (the plot's rotation) into the world; AimCamera
// places the eye in the world; CombineReferenceFrames makes matrix 3, model to
// eye space (x right, y up, z the depth away from the viewer), which every xf
// call projects through, and matrix 2, which carries light directions given
// in the viewer's frame (x right, y up, z towards the viewer) into model space
// (TransformLighting). The world is left-handed like the eye space (x right,
// y up, z away from the viewer when seen along +z), so nothing is mirrored.
//
// Projection: perspective from the eye. A length of `distance` world units at
// the target (AimCamera) spans 200 pixels at 96 dots per inch, times the zoom.
// The target lands on the device point SetCenter gives (logical coordinates
// of the device context), so a caller centres the picture in its own
// rectangle on any device; until SetCenter is called it lands on the middle
// of the device context's clip box (the whole device when nothing clips).
//
// Collections are drawn with the painter's algorithm: every facet of every
// patch is projected, flat shaded from the light sources and drawn as a filled
// polygon, farthest first. Grids, lines and points use the device context's
// selected pen, text its selected font.
#include <cstdint>
#include <vector>

class CDC;

using Fixed = std::int32_t;
inline constexpr Fixed kFixedOne = 65536;

struct Point3d {
    Fixed x;
    Fixed y;
    Fixed z;
    Fixed w;  // free for the caller; never read
};

struct Matrix3d {
    Fixed m[4][4];
};

// ---- fixed-point arithmetic and matrices ----
// a / b. Dividing by 0, or a quotient beyond the 32-bit range, answers the
// saturated value of the quotient's sign (INT32_MAX or INT32_MIN; 0 / 0 is 0).
Fixed fix_div(Fixed a, Fixed b);
// -a; the most negative value turns into the most positive one.
Fixed fix_neg(Fixed a);
void mIdentity(Matrix3d* m);
void mTranspose(Matrix3d* m);  // in place
// out = a b; out may be a or b. Here and in ApplyTransform, results beyond
// the 32-bit range saturate, whatever the words.
void mMult4x4(const Matrix3d* a, const Matrix3d* b, Matrix3d* out);
// out = (x, y, z, 1) m, the fourth word of out being the homogeneous one; out may be point.
void ApplyTransform(const Point3d* point, Point3d* out, const Matrix3d* m);
void SetPt3d(Point3d* point, Fixed x, Fixed y, Fixed z);

// ---- state and camera ----
// Resets the whole state: no device, the centre in the clip box, zoom 1, identity
// matrices, a camera 64 units in front of the origin. options: reserved, 0.
void Init3d(int options);
void SetCurrentDC(CDC* dc);  // null: nothing is drawn
// The device point (logical coordinates, 16.16) the target is drawn at.
void SetCenter(Fixed x, Fixed y);
void SetZoom(Fixed zoom);
// Sets matrix 0..3 (1 is the model's rotation); other indices are ignored.
void SetMatrix(int which, const Matrix3d* m);
// The matrix 0..3, for the caller to copy; null for any other index.
const Matrix3d* GetMatrix(int which);
// The eye at eye, looking at target, with the given field distance (above);
// roll turns the picture about the line of sight by that many degrees (16.16).
void AimCamera(const Point3d* eye, const Point3d* target, Fixed distance, Fixed roll);
void CombineReferenceFrames();
// A function the renderer calls every interval facets while it draws a
// collection; answering true stops the drawing. (0, 0, 0): none.
using Interrupt3dProc = bool (*)(void* data);
void Set3dInterrupt(Interrupt3dProc proc, void* data, int interval);

// ---- lighting ----
struct LightSource3d {
    std::uint16_t red;    // colour, 0..65535 each
    std::uint16_t green;
    std::uint16_t blue;
    Fixed x;  // direction towards the light in the viewer's frame
    Fixed y;
    Fixed z;
    Fixed w;  // not used
};
void Set3dLtSource(LightSource3d* source, unsigned red, unsigned green, unsigned blue, Fixed x, Fixed y,
                   Fixed z, Fixed w);

struct Lighting3d;
// shading: 0 flat (the only kind); reserved: 0; intensity scales every source
// and ambient is the light that every facet gets (both 16.16). The sources
// are copied. Free the lighting with DisposeLighting.
Lighting3d* NewLighting(int shading, int reserved, Fixed intensity, Fixed ambient, int sourceCount,
                        const LightSource3d* sources);
// Carries the sources' directions into the frame the patches are shaded in
// (matrix 2 of the camera set-up).
void TransformLighting(Lighting3d* lighting, const Matrix3d* m);
void DisposeLighting(Lighting3d* lighting);

// ---- patches, groups and collections ----
// The look of a patch.
struct SurfaceAttributes3d {
    std::uint16_t red;  // colour, 0..65535 each
    std::uint16_t green;
    std::uint16_t blue;
    std::uint16_t intensity;  // scales the colour; 65535 = full
    std::uint16_t reserved1;
    std::uint16_t reserved2;
    std::uint16_t flags;  // kSurface... bits
    std::uint16_t reserved3;
    std::int32_t diffuse;  // reflectances, kReflectanceOne = 1
    std::int32_t specular;  // not used
    std::int32_t ambient;
    std::int32_t reserved4[5];
};
inline constexpr std::uint16_t kSurfaceFill = 0x01;       // fill the facets (else outlines only)
inline constexpr std::uint16_t kSurfaceShade = 0x02;      // shade from the lights (else plain colour)
inline constexpr std::uint16_t kSurfaceEdges = 0x04;      // outline facets in a dark shade
inline constexpr std::uint16_t kSurfaceTwoSided = 0x08;   // light both sides alike
inline constexpr std::uint16_t kSurfaceBackFaces = 0x10;  // draw facets that face away
inline constexpr std::int32_t kReflectanceOne = 32767;

// A facet: the indices of its corners into its patch's vertices, in order;
// unused entries are -1. At most 8 corners.
struct Facet3d {
    std::int32_t index[8];
};
inline constexpr int kMaxFacetCorners = 8;

struct Patch3d;
struct Group3d;

// The groups drawn together. The caller fills entries 1..count with group
// handles, in order; the collection owns them from then on.
struct Collection3d {
    explicit Collection3d(int count) : groups(std::size_t(count) + 1, nullptr) {}
    int Count() const { return int(groups.size()) - 1; }
    std::vector<Group3d*> groups;  // [0] unused
};

// Results of the patch calls.
inline constexpr int kRender3dOk = 0;
inline constexpr int kRender3dBadArgument = -1;

// null for a negative count.
Collection3d* NewCollection(int groups);
Group3d* NewGroup(int patches);
// Fills a facet with count corners (1..8; more are cut to 8). vertices: the
// patch's vertices, accepted for the callers' order; normals are found when
// the facets are drawn.
void MakePolyFacet(Facet3d* facet, int count, const std::int32_t* indices, const Point3d* vertices);
// Puts a patch of polygon facets into the group's slot index (0-based),
// replacing any patch there. Vertices go through matrix (null: identity) and
// are copied, as are the facets. A facet naming a vertex that is not there
// makes the whole call fail with kRender3dBadArgument.
int NewPatch(Group3d* group, int index, int vertexCount, const Point3d* vertices, int facetCount,
             const Facet3d* facets, const SurfaceAttributes3d* attributes, const Matrix3d* matrix);
// A patch made from a grid of rows x (pointCount / rows) points in row order:
// one four-cornered facet per cell. wrapRows / wrapColumns join the last row /
// column back to the first (0: an open grid).
int xfMatrix2Patch(Group3d* group, int index, int wrapRows, int wrapColumns, int rows, int pointCount,
                   const Point3d* points, const SurfaceAttributes3d* attributes, const Matrix3d* matrix);
// Draws the collection through view (matrix 3) with the lighting (null:
// every facet in its plain colour); a null collection draws nothing.
// flags: reserved, 0.
void xfRenderCollection(const Collection3d* collection, const Matrix3d* view, const Lighting3d* lighting,
                        int flags);
void DisposeCollection(Collection3d* collection);  // with its groups; null is fine
void DisposeGroup(Group3d* group);  // with its patches; null is fine

// ---- wire frames, lines, points and text ----
// Grid bits: faces, by the coordinate they fix...
inline constexpr unsigned kGridXLow = 0x0001;
inline constexpr unsigned kGridXHigh = 0x0002;
inline constexpr unsigned kGridYHigh = 0x0004;
inline constexpr unsigned kGridYLow = 0x0008;
inline constexpr unsigned kGridZHigh = 0x0010;
inline constexpr unsigned kGridZLow = 0x0020;
// ...and what is drawn on them: the lines inside, the border.
inline constexpr unsigned kGridInnerLines = 0x0100;
inline constexpr unsigned kGridBorder = 0x4000;
// The box from low to high with the chosen faces ruled into divisions
// (16.16 counts per axis, in a point) through the matrix.
void xfGrid(const Point3d* low, const Point3d* high, const Point3d* divisions, unsigned faceMask,
            const Matrix3d* m);
void xfMovetoPt(const Point3d* point, const Matrix3d* m);
void xfLinetoPt(const Point3d* point, const Matrix3d* m);
void xfDrawPt(const Point3d* point, const Matrix3d* m);  // a dot of 3 pixels in the pen's colour
// Text centred on a point, through matrix 3, in the selected font.
void DrawString3d(Fixed x, Fixed y, Fixed z, const char* text);
