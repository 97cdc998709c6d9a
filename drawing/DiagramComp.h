#pragma once
// A drawing ("Draw"): a boxed component of a paragraph that holds one
// geometric figure. It owns its shapes (drawn in list order, the last on
// top), its constraints, its labels (free ones; labels of items belong to
// their items but stand in the list too), its named variables and its
// coordinate transform. In the document it shows a picture it records of
// itself whenever it has changed; the caret walks through its label texts.
//
// Lifetime: shapes share vertices, so the drawing frees its shapes and all
// their parts together, each once (DeleteShapes).
//
// Record: the transform, height and width (16-bit, in 1/5000 of the
// reference size), axes flag, the names of the two plot variables, grid
// flag, grid pen style (16-bit) and colour, frame flag, the named variables,
// then counted shape records, constraint records and free labels, and a 0
// byte. Variables and shared shapes are written once, at their first
// reference, and by 16-bit index afterwards. Shape and constraint records of
// kinds this program does not read are kept and written back as they were;
// so are the records that follow such a shape, whose references into it can
// no longer be followed.
#include "drawing/DiagramDC.h"
#include "drawing/DrawingCodes.h"
#include "drawing/DrawVarTable.h"
#include "drawing/ItemArray.h"
#include "drawing/ShapeStyle.h"
#include "foundation/BoxComp.h"
#include "foundation/InnerSelection.h"
#include "foundation/XMLWriter.h"
#include "foundation/Str255.h"
#include "platform/draw/EnhMetafile.h"

#include <limits>

class MathMLOutput;
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

class ActionView;
class CompList;
class ExprNode;
class TAction;
class DrawTool;
class MouseTracker;
class PlotCurveSet;
class PlotShape;
class RadiusConstraint;
class DiagramItem;
class DiagramShape;
class DrawConstraint;
class EqualLengthConstraint;
class DrawLabel;
class DrawPile;
class DiagramEditList;
class DrawVariable;
class KeptRecord;
class SegmentShape;
class VertexShape;

// What a click in a drawing hits, in the order the drawing looks.
enum class DrawHitKind { Shape = 0, Constraint = 1, LabelText = 2, Label = 3, Nothing = 4 };

struct DrawHit {
    DrawHitKind kind = DrawHitKind::Nothing;
    DiagramItem* item = nullptr;
    DrawLabel* label = nullptr;
};

struct ListedPart {
    int index;
    DiagramShape* shape;
};

struct PendingMove {
    DrawVariable* variable;
    double value;
};

// Deletes the shapes and every part they hold, each once, whatever the
// vertices' use counts say.
void DeleteShapes(const std::vector<DiagramShape*>& shapes);
// Deletes the shapes of a drawing; a vertex goes when no shape uses it.
void DeleteByUse(const ItemArray<DiagramShape>& shapes);

class DiagramComp : public BoxComp, public XhtmlForm, public InnerSelection {
public:
    // The drawing as one svg element of its box's size: the axes when shown,
    // then every shape, constraint and label (DiagramCompSvg.cpp).
    void WriteSVG(MathMLOutput& writer);
    // Alone in a paragraph: a centred paragraph holding the SVG.
    void WriteXhtml(XMLWriter& writer) override;

    DiagramComp();
    // Adopts the three lists; the labels are the free ones, the labels of
    // items are gathered from the items.
    DiagramComp(const DiagramDC& dc, int32_t width, int32_t height, ItemArray<DiagramShape> shapes,
                ItemArray<DrawConstraint> constraints, ItemArray<DrawLabel> freeLabels, const DiagramComp& settings);
    ~DiagramComp() override;
    DiagramComp(const DiagramComp&) = delete;
    DiagramComp& operator=(const DiagramComp&) = delete;

    // ---- component interface ----
    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_Draw; }
    bool IsDiagram() const override { return true; }
    void Measure() override;
    void SetOrigin(const IntPoint& point) override;
    void Draw() override;
    void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest) override;
    TextComp* ComponentAt(const IntPoint& point) override;
    CompList* GetChild(int i) const override;
    int GetChildCount() const override;
    int IndexOfChild(const CompList* row) const override;
    CompList* GetListLeft(CompList* from) override;
    CompList* GetListRight(CompList* from) override;
    CompList* GetListUp(CompList* from) override { return GetListLeft(from); }
    CompList* GetListDown(CompList* from) override { return GetListRight(from); }
    void GetEntryPosition(DocPosition& out) override;
    void SetSizeStep(signed char step) override;
    int MapKey(DocPosition& position, int key, bool shift, bool ctrl) override;
    ExprNode* BuildNode() override;
    void WriteText(TextOutBuffer& out) const override;
    // A boxed picture of the drawing, without its frame.
    void WriteLaTeX(LaTeXWriter& writer) override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

    // ---- items ----
    void AddShape(DiagramShape* shape);
    void AddConstraint(DrawConstraint* constraint);
    void AddLabel(DrawLabel* label);
    // A label met while reading an item's record.
    void AddReadLabel(DrawLabel* label);
    void RemoveLabel(DrawLabel* label);
    void RemoveConstraint(DrawConstraint* constraint);
    // A constraint that let go of its lock may share the locked value with
    // another (two fixed points on one vertex): every constraint of the
    // drawing locks its values again.
    void ReapplyLocks();
    // Hands the label list over; the drawing keeps none.
    ItemArray<DrawLabel> DetachLabels();
    // Appends a shape (no attaching) and lets its labels join the list.
    void InsertShape(DiagramShape* shape);
    // The same at a place of the list (its end when the index is past it).
    void InsertShapeAt(int index, DiagramShape* shape);
    // Takes a shape out of the shape list and the selection.
    void Unselect(DiagramShape* shape);
    // Takes a listed shape out of the lists, selection and labels alike;
    // the vertices it shares go back to shapes of the list.
    void TakeOutShape(DiagramShape* shape);
    // Takes a shape out of the shape list only: a selected part that is a
    // shape of its own again stays selected as the part.
    void DropFromList(DiagramShape* shape);
    // The shape list as an action saw it before or after its change; nothing
    // stays selected.
    void RestoreShapeList(const ItemArray<DiagramShape>& shapes);
    // Hand the lists over to a caller that is about to delete the drawing.
    ItemArray<DiagramShape> TakeShapes();
    ItemArray<DrawConstraint> TakeConstraints();
    // Constraints that exist only while a vertex is dragged.
    void AddDragConstraint(DrawConstraint* constraint) { m_dragConstraints.Add(constraint); }
    void ClearDragConstraints();
    // Hands the drag constraints to the caller (they leave the drawing).
    ItemArray<DrawConstraint> TakeDragConstraints() { return std::exchange(m_dragConstraints, {}); }
    const ItemArray<DrawConstraint>& GetDragConstraints() const { return m_dragConstraints; }
    const ItemArray<DiagramShape>& GetShapes() const { return m_shapes; }
    const ItemArray<DrawConstraint>& GetConstraints() const { return m_constraints; }
    const ItemArray<DrawLabel>& GetLabels() const { return m_labels; }
    const ItemArray<DiagramShape>& GetSelectedShapes() const { return m_selectedShapes; }
    const ItemArray<DrawConstraint>& GetSelectedConstraints() const { return m_selectedConstraints; }
    DrawVarTable& GetVariables() { return m_variables; }
    const DrawVarTable& GetVariables() const { return m_variables; }
    // Whether the drawing holds records it keeps without reading them.
    bool HasKeptRecords() const { return m_keptRecords; }
    ItemArray<VertexShape> GetSelectedVertices() const;

    // ---- selection ----
    void SelectShape(DiagramShape* shape, bool toggle);
    void SelectConstraint(DrawConstraint* constraint, bool toggle);
    void DeselectAll(bool rebuild);
    void SelectInRect(const DPoint& topLeft, const DPoint& bottomRight, bool extend);
    bool HasSelection() const;
    bool HasSelectedShapes() const { return !m_selectedShapes.IsEmpty(); }
    // The items selected, in the order they were picked.
    struct ItemSelection {
        ItemArray<DiagramShape> shapes;
        ItemArray<DrawConstraint> constraints;
        ItemArray<DrawLabel> labels;
    };
    ItemSelection GetItemSelection() const;
    // Selects exactly those of the items that the drawing holds.
    void SetItemSelection(const ItemSelection& selection);
    void SelectOwners();
    void ClickSelect(const IntPoint& device, bool extend);
    void ClickSelectConstraint(const IntPoint& device, bool extend);
    void ClickLabel(DrawLabel* label, bool extend);

    // ---- tools ----
    // The current tool (the pointer until another is chosen).
    DrawTool* GetTool();
    // Makes a new tool only when the kind differs from the current one.
    void SetTool(drawing::ToolKind kind);
    void SetToolBusy(bool busy);
    // A left-button press at a device point; with Ctrl held the pointer
    // answers under every tool. The caller owns the tracker.
    std::unique_ptr<MouseTracker> OnMouseDown(ActionView& view, const IntPoint& point, bool shift, bool ctrl);
    // The cursor resource for a device point (0: the system arrow).
    int GetCursor(const IntPoint& point, bool shift, bool ctrl);

    // ---- queries at a world point ----
    ItemArray<DiagramItem> ShapesAt(const DPoint& point);
    VertexShape* VertexAt(const DPoint& point);
    // Labels (text, then frame), constraints, shapes, in list order; a
    // question only (the cursor asks it too), it changes nothing.
    DrawHit HitItem(const IntPoint& device);

    // ---- order and style ----
    void BringToFront();
    void SendToBack();
    // The first selected shape's style; answers whether a selected shape is closed.
    bool GetSelectionStyle(ShapeStyle& style) const;
    void SetSelectionStyle(const ShapeStyle& style);
    void OnHideVertices() { SetVerticesShown(false); }
    void OnShowVertices() { SetVerticesShown(true); }
    void OnHideConstraints() { SetConstraintsShown(false); }
    void OnShowConstraints() { SetConstraintsShown(true); }

    // ---- values ----
    void AddPendingMove(DrawVariable* variable, double value);
    std::vector<PendingMove> TakePendingMoves();
    void SetPendingMoves(std::vector<PendingMove> moves) { m_pendingMoves = std::move(moves); }
    // Refreshes the named variables before moves are solved: answers the
    // moves whose variable the refresh kept.
    std::vector<PendingMove> RefreshForMoves(std::vector<PendingMove> moves);
    // Moves a variable to a value the user asked for and solves what it
    // touches again, at once and with no undo step; a value no solution
    // allows is refused with a message.
    void ChangeVariable(DrawVariable* variable, double value);
    // The Locked state the user gives a variable.
    void SetVariableLocked(DrawVariable* variable, bool locked);
    // The radius constraints in the drawing that hold the variable.
    std::vector<RadiusConstraint*> RadiiHolding(const DrawVariable* variable) const;

    // ---- with the kernel ----
    // A new list: the kernel equations of the constraints and of the drag
    // constraints, the named variables' definitions when asked for, and
    // every labelled vertex pinned to the point its label names.
    ExprNode* BuildEquationSystem(bool withDefinitions);
    // While set, the system leaves the equation constraints out (a solve the
    // kernel could not take with them is tried without).
    void SetEquationsLeftOut(bool leftOut) { m_equationsLeftOut = leftOut; }
    // Whether an equation constraint would go into the system.
    bool HasActingEquations() const;
    // Tells once per equation constraint that the kernel could not solve it.
    void NoteEquationsRefused();
    // Brings the named-variable table in step with the kernel (only while
    // it is ready): the names the system and the plots use, with values.
    void UpdateNamedVariables();
    // Asks the kernel for the named variables that still lack values.
    void ResolveDeficits();
    // Stores the rules name -> number of an answer as named variables, then
    // deletes the answer; other elements are skipped.
    void ApplyRules(ExprNode* answer);
    // Adds the shapes a kernel calculation answered for this drawing, as
    // {kind, withLabels, payload}: 1 a point, 2 a list of points, 3 a vector
    // (an arrow from the origin), 4 a plot function in x; deletes the
    // answer. Values of named variables the payload lacks are asked for; a
    // cancel adds nothing.
    void ImportKernelResult(ExprNode* result);
    bool TakeKernelResult(ExprNode* answer) override;
    // The plot maker's work: a new plot of the function row (taken),
    // computed at once; null when the user cancelled a value it needs.
    TAction* AddPlot(CompList* function);
    // Computes the plots the kernel has yet to compute; the drawing is active.
    void RecomputePlots(bool redraw);
    // Which plots a computation takes: every one (the visible range or the
    // plot variables changed), every one the kernel has yet to compute (a
    // view starts editing the drawing), or, after any change, those that
    // waited for a kernel that was not running and those whose named values
    // changed.
    enum class PlotsDue { All, Pending, Changed };
    // Computes those plots over the visible range. Without a kernel, or
    // when it refuses, the plots keep their curves and the status bar says
    // why, once until the plots can be computed again.
    void ComputePlots(PlotsDue due);

    // ---- copy and paste ----
    // A new drawing of copies of the selected shapes, the constraints whose
    // items were all copied and the selected free labels.
    DiagramComp* CopySelection(LinkRemap& remap);
    // Moves the source's items into this drawing, selects the pasted shapes
    // and deletes the source; then undoes the edits of the removal the
    // source came from, when given (groups first).
    void PasteItems(DiagramComp* source, DiagramEditList* edits = nullptr);
    // ---- the drawing selected as a whole (DiagramCompClipboard.cpp) ----
    // Copy takes the selected items, held in a fragment as one drawing;
    // a fragment that is one drawing pastes copies of its items here,
    // selected, while the drawing stays selected as a whole.
    bool SelectBetween(const DocPosition& a, const DocPosition& b, DocSelection& out) override;
    bool HasInnerSelection() const override { return HasSelection(); }
    void GetSelectionBounds(const DocSelection& selection, Rect& out) const override;
    DocSelection CopySelection(const DocSelection& selection) override;
    // Removal goes through the drawing's own cut and delete actions.
    DocSelection DeleteSelection(const DocSelection& selection, DocPosition& removedAt) override;
    bool CanInsert(const DocSelection& fragment, const DocPosition& at) const override;
    DocSelection Insert(DocSelection& fragment, const DocPosition& at) override;
    // The font of every label's text.
    void SetSelectionFont(const DocSelection& selection, int fontId) override;
    // Takes the selected items out (compound shapes losing a part are
    // replaced by what is left, recorded in edits) and answers a new drawing
    // holding them.
    DiagramComp* RemoveSelection(DiagramEditList& edits);
    // While the drawing is read: the segments (listed ones or parts of
    // listed shapes) joining the two vertices, in the order of the shapes.
    // The first call indexes the shapes read so far.
    const std::vector<SegmentShape*>& FindReadSegments(VertexShape* a, VertexShape* b);
    // Every vertex used by a shape of the list gets an owner among them: the
    // listed shape that holds it.
    void SettleOwners();
    // A listed part a removal freed comes back with its undo.
    void RestoreListedPart(const ListedPart& part);
    // A point a removal listed again as a shape of its own is a part again
    // once the removal is undone.
    void UnlistPoint(const ListedPart& part);
    const std::vector<ListedPart>& GetListedParts() const { return m_listedParts; }
    // The lists in the order they had before a removal that is undone.
    void RestoreOrder(const ItemArray<DiagramShape>& shapes, const ItemArray<DrawConstraint>& constraints,
                      const ItemArray<DrawLabel>& labels);

    // ---- geometry and picture ----
    DiagramDC& GetDC() { return m_dc; }
    const DiagramDC& GetDC() const { return m_dc; }
    int32_t GetWidth32() const { return m_width; }
    int32_t GetHeight32() const { return m_height; }
    // Sizes in 1/5000 of the reference size, 1..32767; answers false and
    // changes nothing for any other size.
    bool SetSize(int32_t width, int32_t height);
    // The size from device pixels of the current size class (rounded);
    // refused like SetSize for a size that gives no unit.
    bool SetPixelSize(int width, int height);
    // Zooms about a device point (within the transform's limits) or moves
    // the view; the picture and its figures are built again.
    void Zoom(const IntPoint& device, double factor);
    void Pan(int dx, int dy);
    // The rubber band of a selection drag: shown over the picture until hidden.
    void ShowBand(const Rect& band);
    void HideBand();
    bool IsBandVisible() const { return m_bandVisible; }
    const Rect& GetBand() const { return m_band; }
    // What must be painted again for the band: the new band with the old
    // (the hidden band alone), each with the width of its line.
    const Rect& GetBandRepaint() const { return m_bandRepaint; }
    // A freehand stroke in device points: drawn over the picture, clipped
    // to the drawing's box, until hidden.
    void ShowStroke(const std::vector<IntPoint>& stroke);
    void HideStroke();
    const std::vector<IntPoint>& GetStroke() const { return m_stroke; }
    bool IsActive() const { return m_active; }
    void SetActive(bool active) { m_active = active; }
    void EndEdit(bool deselect);
    bool GetShowAxes() const { return m_showAxes; }
    void SetShowAxes(bool show);
    bool GetShowGrid() const { return m_showGrid; }
    void SetShowGrid(bool show);
    // The world rectangle the drawing's box shows: top-left, bottom-right.
    void GetVisibleWorld(DPoint& topLeft, DPoint& bottomRight) const;
    // Built when the drawing is rendered with axes or grid shown; dropped
    // when the picture is rebuilt (null until then).
    const PlotCurveSet* GetAxesFigure() const { return m_axesFigure.get(); }
    const PlotCurveSet* GetGridFigure() const { return m_gridFigure.get(); }
    // The names of the plot variables, which the kernel forms of plot
    // constraints use.
    const Str255& GetXName() const { return m_xName; }
    const Str255& GetYName() const { return m_yName; }
    bool GetShowFrame() const { return m_showFrame; }
    void SetShowFrame(bool show) { m_showFrame = show; }
    int32_t GetGridThickness() const { return m_gridThickness; }
    COLORREF GetGridColour() const { return m_gridColour; }
    // The plot variables' names and the grid's pen, as the drawing
    // properties dialog sets them.
    void SetPlotNames(const Str255& xName, const Str255& yName);
    void SetGridPen(int32_t thickness, COLORREF colour);

    // ---- item pile ----
    // Builds the pile of the items under a device point and shows it in the
    // pile pane; the view is the one the pile's clicks act for.
    void ShowPileAt(ActionView* view, const IntPoint& device);
    DrawPile* GetPile() const { return m_pile.get(); }
    // Forgets the pile; the pane shows nothing when it showed this drawing.
    void DropPile();
    // Draws every shape, constraint and label through the transform.
    void Render();
    // A new picture of the drawing's box (the caller frees it).
    HENHMETAFILE RecordPicture(bool withFrame);
    void RebuildPicture();
    // Computes the plots a change makes due, records the picture again and
    // asks the view to paint the drawing's box again: every change the user
    // makes shows at once.
    void Repaint();
    // Asks the view to paint the drawing's box again.
    void InvalidateBox();
    HENHMETAFILE GetPicture() const { return m_picture; }
    bool IsPictureStale() const { return m_pictureStale; }

private:
    void SetDefaults();
    void Unpick(DiagramShape* shape);
    // Asks for the values of the names the plot function lacks (default
    // 1.0); false when the user cancelled. usesVariables tells whether the
    // function uses named variables at all.
    bool AskPlotValues(const ExprNode& function, bool& usesVariables);
    PlotShape* NewComputedPlot(CompList* function, bool usesVariables);
    void AdoptItems(ItemArray<DiagramShape> shapes, ItemArray<DrawConstraint> constraints,
                    ItemArray<DrawLabel> freeLabels);
    void CopySettingsFrom(const DiagramComp& other);
    DiagramComp* CopyItems(LinkRemap& remap, bool selectedOnly);
    // The picture no longer shows the drawing: it is recorded again before
    // the box is painted next, and the box is painted again.
    void Changed();
    void SetVerticesShown(bool shown);
    void SetConstraintsShown(bool shown);
    void DrawFrame(const Rect& box);
    void DrawStroke(const Rect& box);
    void RenderFigures();
    void FreeItems();
    void ReadBody(DocReader& reader);
    bool KeepsNextRecord(DocReader& reader, bool known);
    void NoteKept(KeptRecord* kept);
    void NoteRead(DocReader& reader, std::pair<size_t, size_t> sizesBefore);
    // How many records a reading of a copy of this drawing's record gets
    // through after its first record of an unknown kind.
    int TrialRead(DocReader& reader);
    void ReadShapes(DocReader& reader);
    void ReadConstraints(DocReader& reader);
    void ReadFreeLabels(DocReader& reader);
    // Shapes listed that are parts of other shapes leave the list (their
    // places are kept for writing) and the use counts are counted again
    // (unless kept records use vertices too); a part held by two shapes is
    // refused.
    void SettleAfterRead();
    // Every shape the listed shapes hold, down to their vertices.
    std::set<const DiagramItem*> HeldItems() const;
    void TakeOutConstraint(DrawConstraint* constraint);
    // The variables of the removed shapes and of the compounds the edits
    // replaced that no held shape has.
    static std::set<const DrawVariable*> FreedVariables(const ItemArray<DiagramShape>& removed,
                                                        const DiagramEditList& edits,
                                                        const std::set<const DiagramItem*>& held);
    void DropConstraintsOfFreedItems(const std::set<const DiagramItem*>& held,
                                     const std::set<const DrawVariable*>& freedVariables, DiagramEditList& edits);
    void ForgetFreedListedParts(const std::set<const DiagramItem*>& held, DiagramEditList& edits);
    // The listed points of the selected shapes that no other shape of the
    // selection names themselves: they are shapes of their own too.
    void DeselectListedPoints();
    // Listed points that no shape left holds and that were not selected
    // themselves stay as shapes of their own (now held).
    void RelistFreedPoints(const ItemArray<DiagramShape>& selected, std::set<const DiagramItem*>& held,
                           DiagramEditList& edits);
    void SettleLabels(const std::set<const DiagramItem*>& held, DiagramComp& removed);
    // The labels of shapes the drawing no longer holds leave its list.
    void ForgetLabelsNotHeld(const std::set<const DiagramItem*>& held);
    // The shapes list as the file holds it: the listed shapes with the
    // listed parts back in their places.
    std::vector<DiagramShape*> ShapesToWrite() const;
    void RemoveConstraintsOfSelection(ItemArray<DrawConstraint>& removed, DiagramEditList& edits,
                                      std::vector<std::pair<DrawConstraint*, int>>& pending);
    void SettlePendingConstraints(const std::vector<std::pair<DrawConstraint*, int>>& pending,
                                  const std::set<const DiagramItem*>& held,
                                  const std::set<const DrawVariable*>& freedVariables,
                                  ItemArray<DrawConstraint>& removed, DiagramEditList& edits);
    bool SplitEqualLength(EqualLengthConstraint* constraint, int code, ItemArray<DrawConstraint>& removed,
                          DiagramEditList& edits);
    void RemoveSelectedShapes(ItemArray<DiagramShape>& removed, DiagramEditList& edits);
    ItemArray<DiagramShape> UsersOf(VertexShape* vertex) const;
    // The owner loses the part: a circle goes whole, another compound is
    // replaced by what is left.
    void RemovePartOf(DiagramShape* owner, DiagramShape* part, ItemArray<DiagramShape>& removed,
                      DiagramEditList& edits);
    void RemoveListed(DiagramShape* shape, ItemArray<DiagramShape>& removed);
    void KeepSharedVerticesAsParts(ItemArray<DiagramShape>& removed);
    void TakeLabelsOf(DiagramShape* shape);
    void FreeAfterFailedRead(DocReader& reader);
    int LabelIndexOfRow(const CompList* row) const;

    std::unique_ptr<DrawTool> m_tool;
    ItemArray<DiagramShape> m_shapes;
    ItemArray<DrawConstraint> m_constraints;
    ItemArray<DrawConstraint> m_dragConstraints;
    std::vector<PendingMove> m_pendingMoves;
    DrawVarTable m_variables;
    ItemArray<DrawLabel> m_labels;
    ItemArray<DiagramShape> m_selectedShapes;
    ItemArray<DrawConstraint> m_selectedConstraints;
    bool m_showAxes = false;
    Str255 m_xName;
    Str255 m_yName;
    bool m_showGrid = false;
    int32_t m_gridThickness = drawing::kDefaultPenStyle;
    COLORREF m_gridColour = drawing::kDefaultGridColour;
    Rect m_band;
    Rect m_bandRepaint;
    bool m_bandVisible = false;
    std::vector<IntPoint> m_stroke;
    std::unique_ptr<PlotCurveSet> m_axesFigure;
    std::unique_ptr<PlotCurveSet> m_gridFigure;
    HENHMETAFILE m_picture = nullptr;
    bool m_pictureStale = true;
    bool m_showFrame = true;
    bool m_active = false;
    DiagramDC m_dc;
    int32_t m_width = drawing::kReferenceSize;
    int32_t m_height = drawing::kReferenceSize;
    bool m_keptRecords = false;
    // The named values the plots were last computed with; a new size or new
    // plot variables make every plot due at the next repaint; the status
    // bar has said why plots keep their curves.
    std::vector<std::pair<std::string, double>> m_plottedValues;
    bool m_allPlotsDue = false;
    bool m_plotNoteShown = false;
    bool m_equationsLeftOut = false;
    std::unique_ptr<DrawPile> m_pile;
    std::map<std::pair<const VertexShape*, const VertexShape*>, std::vector<SegmentShape*>> m_readSegments;
    // Shapes a file listed that are also parts of other listed shapes (a
    // point drawn on its own that is a circle's centre too), at the place
    // the list held them, in that order: the model keeps them as parts and
    // the file gets them back where they stood. Such a point is a use of its
    // own: when the shapes that use it are removed it stays, listed again.
    std::vector<ListedPart> m_listedParts;
    // While the drawing is read: where its record's body starts, the records
    // read so far, from which one on they are kept as bytes, the last one
    // kept, and whether this is a trial reading of a copy.
    struct ReadState {
        int32_t bodyStart = 0;
        int recordsRead = 0;
        int keepFrom = std::numeric_limits<int>::max();
        KeptRecord* lastKept = nullptr;
        bool trial = false;
    };
    ReadState m_reading;
};
