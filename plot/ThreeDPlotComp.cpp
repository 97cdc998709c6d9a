#include "plot/ThreeDPlotComp.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/LinkRemap.h"
#include "kernel/CompositeNode.h"
#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/NodeSupport.h"
#include "kernel/PlotNodes.h"
#include "plot/PlotCommandAxes.h"
#include "plot/PlotCurveSet.h"
#include "plot/PlotScene3D.h"
#include "plot/PlotStyle.h"

#include <algorithm>
#include <cmath>
#include <limits>

using plot::AxisOf;
using plot::NameNode;

namespace {

// Leaves the renderer drawing nowhere once a recording ends, thrown or not,
// before the picture is closed.
struct RendererRelease {
    RendererRelease() = default;
    RendererRelease(const RendererRelease&) = delete;
    RendererRelease& operator=(const RendererRelease&) = delete;
    ~RendererRelease() { SetCurrentDC(nullptr); }
};

// The renderer's cube has this side; the box is mapped onto it.
constexpr double kCubeSide = 32;

// A double as 16.16, truncated toward zero; out of range saturates, NaN is 0.
Fixed ToFixed(double v)
{
    if (std::isnan(v))
        return 0;
    const double scaled = std::trunc(v * kFixedOne);
    constexpr double top = std::numeric_limits<Fixed>::max();
    constexpr double bottom = std::numeric_limits<Fixed>::min();
    return static_cast<Fixed>(std::clamp(scaled, bottom, top));
}

Point3d FixedPoint(double x, double y, double z)
{
    return Point3d{ToFixed(x), ToFixed(y), ToFixed(z), 0};
}

// The camera: the eye, and up and right perpendicular to it, each of
// length 210.
const double kRoot39200 = std::sqrt(39200.0);
const double kRoot44100 = std::sqrt(44100.0);

// The renderer's font: the label size in pixels of a 96 dpi screen, scaled to
// the device so that labels keep their size against the picture everywhere.
void SelectLabelFont(bool smallest)
{
    const int resolution = std::max(1, gDrawContext.GetResolutionY());
    gDrawContext.SelectPlainFont(std::max(1, PlotStyle(smallest).GetFontSize() * resolution / 96), false);
}

struct CollectionDeleter {
    void operator()(Collection3d* collection) const { DisposeCollection(collection); }
};

} // namespace

ThreeDPlotComp::ThreeDPlotComp()
{
    m_eye = FixedPoint(-140, 70, -140);
    m_up = FixedPoint(9800 / kRoot39200, kRoot39200, 9800 / kRoot39200);
    const double side = kRoot44100 * -140 / kRoot39200;
    m_right = FixedPoint(-side, 0, side);
    mIdentity(&m_rotation);
    mIdentity(&m_camera2);
    mIdentity(&m_camera3);
    LightSource3d source{};
    Set3dLtSource(&source, 65535, 65535, 65535, 2 * kFixedOne, 0, 480 * kFixedOne, 0);
    m_lighting.reset(NewLighting(0, 0, 65535, 0x4000, 1, &source));
}

ThreeDPlotComp::~ThreeDPlotComp() = default;

TextComp* ThreeDPlotComp::Clone(LinkRemap& remap)
{
    auto copy = std::make_unique<ThreeDPlotComp>();
    copy->CopyPlotFrom(*this, remap);
    copy->m_zName = m_zName;
    copy->m_zMin = m_zMin;
    copy->m_zMax = m_zMax;
    copy->m_boxMinimum = m_boxMinimum;
    copy->m_tickSteps = m_tickSteps;
    copy->m_boxMaximum = m_boxMaximum;
    copy->m_rotation = m_rotation;
    if (m_curves)
        copy->m_curves = std::make_unique<PlotCurveSet>(*m_curves);
    return copy.release();
}

// ---- variables ----

void ThreeDPlotComp::SetZVariable(const std::string& name, double minimum, double maximum)
{
    m_zName = name.substr(0, plot::kMaxName);
    m_zMin = minimum;
    m_zMax = maximum;
    DropPicture();
    Invalidate();
}

PlotBounds3D ThreeDPlotComp::GetBounds() const
{
    return {{m_ranges.xMin, m_ranges.yMin, m_zMin}, {m_ranges.xMax, m_ranges.yMax, m_zMax}};
}

// ---- the kernel ----

ExprNode* ThreeDPlotComp::BuildNode()
{
    auto* node = new ThreeDPlotNode;
    node->SetXRange(NameNode(m_xName), new RealNode(m_ranges.xMin), new RealNode(m_ranges.xMax));
    node->SetYRange(NameNode(m_yName), new RealNode(m_ranges.yMin), new RealNode(m_ranges.yMax));
    node->SetZRange(NameNode(m_zName), new RealNode(m_zMin), new RealNode(m_zMax));
    for (CompList* line : m_lines)
        node->AddFunction(line->BuildNode());
    return node;
}

bool ThreeDPlotComp::SetResult(ExprNode* answer)
{
    std::unique_ptr<ExprNode> owned(answer);
    m_problem.clear();
    if (!dynamic_cast<GraphicsNode*>(answer) && !dynamic_cast<SurfaceGraphicsNode*>(answer))
        return false;
    std::unique_ptr<PlotCurveSet> old = std::move(m_curves);
    m_curves = std::make_unique<PlotCurveSet>();
    BuildScene(false);
    if (!m_curves->BuildFromResult3D(answer, GetBounds())) {
        m_curves = std::move(old);
        m_problem = kUnevenSurfaceMessage;
        return false;
    }
    if (!m_curves->FitsRecord()) {
        m_curves = std::move(old);
        m_problem = kTooManyCurvesMessage;
        return false;
    }
    DropPicture();
    Invalidate();
    return true;
}

void ThreeDPlotComp::ResetToFrame()
{
    m_curves = std::make_unique<PlotCurveSet>();
    BuildScene(false);
    DropPicture();
    Invalidate();
}

bool ThreeDPlotComp::OnOptions()
{
    std::vector<PlotAxisParameters> axes = GetXYAxes();
    axes.push_back({m_zName, m_zMin, m_zMax});
    if (!AskPlotParameters(axes) || axes.size() < 3)
        return false;
    SetXYAxes(axes);
    SetZVariable(axes[2].name, axes[2].minimum, axes[2].maximum);
    ResetToFrame();
    return true;
}

TextComp* ThreeDPlotComp::FromNode(ThreeDPlotNode& node)
{
    auto plot = std::make_unique<ThreeDPlotComp>();
    plot->TakeLinesAndAxes(node);
    const PlotAxisParameters z = AxisOf(node.ZRange(), "z");
    plot->SetZVariable(z.name, z.minimum, z.maximum);
    if (node.Extra())
        plot->SetResult(node.TakeExtra());
    return plot.release();
}

// ---- scene and rotation ----

void ThreeDPlotComp::BuildScene(bool rebuild)
{
    const PlotFrame3D frame = plot3d::FrameFor(GetBounds());
    m_boxMinimum = frame.boxMinimum;
    m_tickSteps = frame.steps;
    m_boxMaximum = frame.boxMaximum;
    const Point3d view = plot3d::ViewDirection(m_rotation, m_eye);
    const BoxFaces3D faces = plot3d::FacesFor(view);
    if (!m_curves)
        m_curves = std::make_unique<PlotCurveSet>();
    const int at = rebuild ? 0 : m_curves->GetCurveCount();
    m_curves->SetCurve(at, plot3d::BoxCurve(faces, m_tickSteps));
    m_curves->SetCurve(at + 1, plot3d::LabelCurve(frame, faces, view));
}

void ThreeDPlotComp::SetRotation(const Matrix3d& rotation)
{
    m_rotation = rotation;
    DropPicture();
}

void ThreeDPlotComp::ApplyRotation(const Matrix3d& turn)
{
    mMult4x4(&m_rotation, &turn, &m_rotation);
}

void ThreeDPlotComp::GetViewFrame(Point3d& right, Point3d& up, Point3d& eye) const
{
    right = m_right;
    up = m_up;
    eye = m_eye;
}

bool ThreeDPlotComp::HitPicture(const IntPoint& point) const
{
    const Rect r = GetPlotRect();
    return point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom;
}

// ---- drawing ----

Point3d ThreeDPlotComp::ToFixedVector(const Point3D& v) const
{
    const Point3D e{m_boxMaximum.x - m_boxMinimum.x, m_boxMaximum.y - m_boxMinimum.y,
                    m_boxMaximum.z - m_boxMinimum.z};
    return FixedPoint(v.y * kCubeSide / e.y, v.z * kCubeSide / e.z, v.x * kCubeSide / e.x);
}

Point3d ThreeDPlotComp::ToFixedPoint(const Point3D& p) const
{
    const Point3D c{(m_boxMinimum.x + m_boxMaximum.x) / 2, (m_boxMinimum.y + m_boxMaximum.y) / 2,
                    (m_boxMinimum.z + m_boxMaximum.z) / 2};
    const Point3d v = ToFixedVector({p.x - c.x, p.y - c.y, p.z - c.z});
    return Point3d{v.x, v.y, fix_neg(v.z), 0};
}

void ThreeDPlotComp::DrawBox(const Point3d& low, const Point3d& high, const Point3d& divisions, unsigned mask) const
{
    xfGrid(&low, &high, &divisions, mask, &m_camera3);
}

void ThreeDPlotComp::DrawLine(const Point3D& a, const Point3D& b) const
{
    const Point3d from = ToFixedPoint(a), to = ToFixedPoint(b);
    xfMovetoPt(&from, &m_camera3);
    xfLinetoPt(&to, &m_camera3);
}

void ThreeDPlotComp::DrawSegment(const std::vector<Point3D>& points) const
{
    for (size_t i = 0; i < points.size(); ++i) {
        const Point3d p = ToFixedPoint(points[i]);
        if (i == 0)
            xfMovetoPt(&p, &m_camera3);
        else
            xfLinetoPt(&p, &m_camera3);
    }
}

void ThreeDPlotComp::DrawPoint(const Point3D& p) const
{
    const Point3d at = ToFixedPoint(p);
    xfDrawPt(&at, &m_camera3);
}

void ThreeDPlotComp::DrawString(const Point3D& p, const std::string& text) const
{
    const Point3d at = ToFixedPoint(p);
    DrawString3d(at.x, at.y, at.z, text.c_str());
}

void ThreeDPlotComp::SetDefaultSize()
{
    PlotStyle style(m_smallest);
    m_pictureWidth = style.GetPlotWidth3D();
    m_pictureHeight = style.GetPlotHeight3D();
}

// The target lands in the middle of the picture on whatever device records
// it, so the picture plays back alike on the screen, a printer and in files.
void ThreeDPlotComp::SetUpCamera(bool withFont)
{
    Init3d(0);
    SetCurrentDC(gDrawContext.GetDC());
    if (withFont)
        SelectLabelFont(m_smallest);
    SetCenter(ToFixed(m_pictureWidth / 2.0), ToFixed(m_pictureHeight / 2.0));
    SetMatrix(1, &m_rotation);
    SetZoom(kFixedOne);
    Point3d eye{}, target{};
    SetPt3d(&eye, m_eye.x, m_eye.y, m_eye.z);
    SetPt3d(&target, 0, 0, 0);
    AimCamera(&eye, &target, PlotStyle(m_smallest).GetCameraDistance(), 0);
    CombineReferenceFrames();
    m_camera2 = *GetMatrix(2);
    m_camera3 = *GetMatrix(3);
    TransformLighting(m_lighting.get(), &m_camera2);
    Set3dInterrupt(nullptr, nullptr, 0);
}

void ThreeDPlotComp::RenderScene()
{
    SetUpCamera(true);
    m_curves->DrawBack3D(*this);
    std::unique_ptr<Collection3d, CollectionDeleter> collection(m_curves->MakeCollection(*this));
    xfRenderCollection(collection.get(), &m_camera3, m_lighting.get(), 0);
    collection.reset();
    m_curves->DrawFront3D(*this);
    gDrawContext.SelectCurrentFont();
}

HENHMETAFILE ThreeDPlotComp::RenderPicture()
{
    if (!m_curves) {
        m_curves = std::make_unique<PlotCurveSet>();
        BuildScene(false);
    }
    SetDefaultSize();
    return RecordPicture([this] {
        const RendererRelease release;
        RenderScene();
    });
}

HENHMETAFILE ThreeDPlotComp::RecordWireframe()
{
    SetDefaultSize();
    if (!CanRecordPicture())
        return nullptr;
    if (!m_curves) {
        m_curves = std::make_unique<PlotCurveSet>();
        BuildScene(false);
    }
    return RecordPicture([this] {
        const RendererRelease release;
        SetUpCamera(false);
        m_curves->DrawBack3D(*this);
    });
}

void ThreeDPlotComp::RenderWireframe(const Rect& rect)
{
    gDrawContext.ClearClipRegion();
    HENHMETAFILE picture = RecordWireframe();
    if (picture) {
        gDrawContext.PlayMetafile(picture, rect);
        DrawContext::DeleteMetafile(picture);
    }
    gDrawContext.ClearClipRegion();
}

void ThreeDPlotComp::RefreshPicture()
{
    BuildScene(true);
    SetPicture(RenderPicture());
}

// ---- file record ----

void ThreeDPlotComp::Write(DocWriter& writer)
{
    WriteAxis(writer, m_ranges.xMax, m_ranges.xMin, m_xName);
    WriteAxis(writer, m_ranges.yMax, m_ranges.yMin, m_yName);
    WriteAxis(writer, m_zMax, m_zMin, m_zName);
    WriteLines(writer);
    for (const Point3D* p : {&m_boxMinimum, &m_tickSteps, &m_boxMaximum}) {
        writer.WriteDouble(p->x);
        writer.WriteDouble(p->y);
        writer.WriteDouble(p->z);
    }
    for (const auto& row : m_rotation.m)
        for (Fixed word : row)
            writer.WriteLong(word);
    if (m_curves)
        m_curves->Write(writer);
    else
        writer.WriteShort(0);
}

void ThreeDPlotComp::Read(DocReader& reader)
{
    ReadAxis(reader, m_ranges.xMax, m_ranges.xMin, m_xName);
    ReadAxis(reader, m_ranges.yMax, m_ranges.yMin, m_yName);
    ReadAxis(reader, m_zMax, m_zMin, m_zName);
    ReadLines(reader);
    for (Point3D* p : {&m_boxMinimum, &m_tickSteps, &m_boxMaximum}) {
        p->x = reader.ReadDouble();
        p->y = reader.ReadDouble();
        p->z = reader.ReadDouble();
    }
    for (auto& row : m_rotation.m)
        for (Fixed& word : row)
            word = reader.ReadLong();
    const int16_t lists = reader.ReadShort();
    m_curves.reset();
    if (lists > 0) {
        m_curves = std::make_unique<PlotCurveSet>();
        m_curves->Read3D(reader, lists);
    }
    // A damaged record's turn or box would leave the picture empty: the plot
    // shows unturned in the box of its ranges instead.
    const bool turned = plot3d::IsRotation(m_rotation);
    if (!turned)
        mIdentity(&m_rotation);
    if (!turned || !plot3d::IsFrame({m_boxMinimum, m_tickSteps, m_boxMaximum}))
        BuildScene(m_curves != nullptr);
    DropPicture();
    m_needsLayout = 1;
}
