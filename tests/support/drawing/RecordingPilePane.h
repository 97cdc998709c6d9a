#pragma once
// A pile pane that records what the drawings ask of it, installed for the
// life of the object in place of the program's pane.
#include "drawing/PilePane.h"

#include <utility>

class RecordingPilePane : public PilePane {
public:
    RecordingPilePane() : m_old(std::exchange(gPilePane, this)) {}
    ~RecordingPilePane() override { gPilePane = m_old; }
    RecordingPilePane(const RecordingPilePane&) = delete;
    RecordingPilePane& operator=(const RecordingPilePane&) = delete;

    void ShowPile(DiagramComp* diagram) override
    {
        shown = diagram;
        ++calls;
    }
    DiagramComp* ShownDiagram() const override { return shown; }

    DiagramComp* shown = nullptr;
    int calls = 0;

private:
    PilePane* m_old;
};
