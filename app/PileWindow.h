#pragma once
// The "dpile" window of the connections bar: the pane that shows the item
// pile of the drawing being edited. The bar hands it the drawing (none: an
// empty pane); a drawing that builds a pile shows it here through the pile
// pane interface. The pane draws a pile only for a drawing that showed one
// itself (and so tells the pane when it goes), and only while every item of
// the pile is still in that drawing.
//
// Clicks, drags and releases go to the pile; the constraints a drag makes
// are added through the pile's view as undoable steps.
#include <functional>
#include <memory>

#include "drawing/PilePane.h"
#include "platform/framework/CWnd.h"

class DrawPile;

class PileWindow : public CWnd, public PilePane {
public:
    ~PileWindow() override;

    // Shows the pile of drawing (or nothing) and redraws.
    virtual void SetDrawing(DiagramComp* drawing);
    DiagramComp* GetDrawing() const { return m_drawing; }

    // ---- PilePane ----
    void ShowPile(DiagramComp* diagram) override;
    DiagramComp* ShownDiagram() const override { return m_pileDrawing; }

    // The pile the pane shows, or null.
    DrawPile* GetShownPile() const;

protected:
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;

private:
    void Redraw();

    DiagramComp* m_drawing = nullptr;
    DiagramComp* m_pileDrawing = nullptr;
    bool m_tracking = false;
};

using PileWindowFactory = std::function<std::unique_ptr<PileWindow>()>;
// Installs the factory (null: the default window); answers the old one.
PileWindowFactory SetPileWindowFactory(PileWindowFactory factory);
std::unique_ptr<PileWindow> MakePileWindow();

// The pile window of the connections bar while the bar exists (a drawing
// fills it when a vertex drag ends).
extern PileWindow* gPileWindow;
