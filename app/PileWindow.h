#pragma once
// The "dpile" window of the connections bar as the bar sees it: a window that
// shows the item pile of the drawing it is given (none: an empty pane). The
// drawing classes supply the real window through the factory; the default
// one only remembers its drawing.
#include <functional>
#include <memory>

#include "platform/framework/CWnd.h"

class DiagramComp;

class PileWindow : public CWnd {
public:
    // Shows the pile of drawing (or nothing) and redraws.
    virtual void SetDrawing(DiagramComp* drawing);
    DiagramComp* GetDrawing() const { return m_drawing; }

private:
    DiagramComp* m_drawing = nullptr;
};

using PileWindowFactory = std::function<std::unique_ptr<PileWindow>()>;
// Installs the factory (null: the default window); answers the old one.
PileWindowFactory SetPileWindowFactory(PileWindowFactory factory);
std::unique_ptr<PileWindow> MakePileWindow();

// The pile window of the connections bar while the bar exists (a drawing
// fills it when a vertex drag ends).
extern PileWindow* gPileWindow;
