#include "app/PileWindow.h"

#include <utility>

PileWindow* gPileWindow = nullptr;

namespace {
PileWindowFactory& factory()
{
    static PileWindowFactory installed;
    return installed;
}
}

void PileWindow::SetDrawing(DiagramComp* drawing)
{
    m_drawing = drawing;
    if (widget())
        Invalidate();
}

PileWindowFactory SetPileWindowFactory(PileWindowFactory replacement)
{
    return std::exchange(factory(), std::move(replacement));
}

std::unique_ptr<PileWindow> MakePileWindow()
{
    if (factory())
        if (std::unique_ptr<PileWindow> made = factory()())
            return made;
    return std::make_unique<PileWindow>();
}
