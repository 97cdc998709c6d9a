#pragma once
// The pane of the main window that shows a drawing's item pile. The shell
// installs its pane here; drawings ask it to show their pile again when the
// pile changes and to forget them when they go.
class DiagramComp;

class PilePane {
public:
    virtual ~PilePane() = default;
    // Shows the pile of the drawing (none: an empty pane) and redraws.
    virtual void ShowPile(DiagramComp* diagram) = 0;
    // The drawing whose pile the pane shows, or null.
    virtual DiagramComp* ShownDiagram() const = 0;
};

// The pane while the main window exists, else null.
extern PilePane* gPilePane;
