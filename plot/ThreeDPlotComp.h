#pragma once
// A 3-D plot ("3Plt"): a third variable, a scene of 3-D items (the frame box
// first, the tick labels second, then the kernel's surfaces and
// primitives), a fixed camera and the rotation the trackball turns. The
// picture is rendered by the 3-D renderer: the box's grid behind, the
// shaded surfaces, then lines, points and labels in front.
//
// Record: x maximum, x minimum, x name, the same for y and for z, the
// function-line count (16-bit) and the lines, box minimum x, y, z, tick
// steps x, y, z and box maximum x, y, z (doubles), the rotation (sixteen
// 32-bit 16.16 words, row by row), the scene (16-bit list count, 0 without
// a scene, then the lists).
#include "plot/PlotComp.h"
#include "plot/PlotItems3D.h"
#include "render3d/Render3d.h"

#include <memory>

class PlotCurveSet;
class ThreeDPlotNode;

class ThreeDPlotComp : public PlotComp {
public:
    ThreeDPlotComp();
    ~ThreeDPlotComp() override;

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_3Plt; }
    // VXThreeDPlot[{f...}, {x, xmin, xmax}, {y, ymin, ymax}, {z, zmin, zmax}].
    ExprNode* BuildNode() override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

    // Graphics3D and SurfaceGraphics become the frame and the kernel's
    // items; any other answer, a surface whose rows differ in length, or
    // more curves than the plot can store, keeps the items the plot had.
    bool SetResult(ExprNode* answer) override;
    bool OnOptions() override;
    // The frame alone, for the current ranges; the kernel's items go.
    void ResetToFrame();

    void SetZVariable(const std::string& name, double minimum, double maximum);
    const std::string& GetZName() const { return m_zName; }
    double GetZMin() const { return m_zMin; }
    double GetZMax() const { return m_zMax; }
    // The three ranges as the items' bounds.
    PlotBounds3D GetBounds() const;

    // ---- scene ----
    // Steps, box and the frame's two lists: appended to a new scene, or
    // (rebuild) put in place of the first two lists, keeping the kernel's.
    void BuildScene(bool rebuild);
    const PlotCurveSet* GetCurves() const { return m_curves.get(); }
    const Point3D& GetBoxMinimum() const { return m_boxMinimum; }
    const Point3D& GetBoxMaximum() const { return m_boxMaximum; }
    const Point3D& GetTickSteps() const { return m_tickSteps; }

    // ---- rotation ----
    const Matrix3d& GetRotation() const { return m_rotation; }
    // Replaces the rotation and drops the picture.
    void SetRotation(const Matrix3d& rotation);
    // The rotation becomes rotation x turn.
    void ApplyRotation(const Matrix3d& turn);
    // Copies of the camera's right, up and eye vectors.
    void GetViewFrame(Point3d& right, Point3d& up, Point3d& eye) const;
    // The picture's rectangle in the document.
    Rect GetPlotRect() const { return GetPictureRect(); }
    // Inside the picture: left and top inclusive, right and bottom exclusive.
    bool HitPicture(const IntPoint& point) const;
    // The frame grid alone under the current rotation, played into the
    // rectangle of the current drawing target (while the trackball turns).
    void RenderWireframe(const Rect& rect);
    // Renders the picture again (after a rotation) and keeps it.
    void RefreshPicture();

    // ---- drawing for the items ----
    // A plot point in the renderer's space: the box onto a cube of side 32
    // about the origin, the axes exchanged.
    Point3d ToFixedPoint(const Point3D& p) const;
    // A length along each axis in the renderer's space, without centring.
    Point3d ToFixedVector(const Point3D& v) const;
    void DrawBox(const Point3d& low, const Point3d& high, const Point3d& divisions, unsigned mask) const;
    void DrawLine(const Point3D& a, const Point3D& b) const;
    void DrawSegment(const std::vector<Point3D>& points) const;
    void DrawPoint(const Point3D& p) const;
    void DrawString(const Point3D& p, const std::string& text) const;

    // A new plot from a command the kernel answered, with its graphics.
    static TextComp* FromNode(ThreeDPlotNode& node);

protected:
    void SetDefaultSize() override;
    HENHMETAFILE RenderPicture() override;

private:
    // The renderer aimed at the picture being recorded.
    void SetUpCamera(bool withFont);
    void RenderScene();
    HENHMETAFILE RecordWireframe();

    std::string m_zName = "z";
    double m_zMin = -1;
    double m_zMax = 1;
    std::unique_ptr<PlotCurveSet> m_curves;
    Point3d m_eye{};
    Point3d m_up{};
    Point3d m_right{};
    Matrix3d m_rotation{};
    Matrix3d m_camera2{};
    Matrix3d m_camera3{};
    struct LightingDeleter {
        void operator()(Lighting3d* lighting) const { DisposeLighting(lighting); }
    };
    std::unique_ptr<Lighting3d, LightingDeleter> m_lighting;
    Point3D m_boxMinimum{-1, -1, -1};
    Point3D m_tickSteps{0.5, 0.5, 0.5};
    Point3D m_boxMaximum{1, 1, 1};
};
