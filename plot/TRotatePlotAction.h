#pragma once
// A turn of a 3-D plot by the trackball as one undoable step: doing it puts
// the rotation after the turn in place, undoing the one before; either way
// the frame and labels follow the view and the picture is rendered again.
#include "foundation/TAction.h"
#include "render3d/Render3d.h"

class ThreeDPlotComp;

class TRotatePlotAction : public TAction {
public:
    TRotatePlotAction(ThreeDPlotComp* plot, const Matrix3d& before, const Matrix3d& after);
    void Do() override;
    void Undo() override;

private:
    void Show(const Matrix3d& rotation);

    ThreeDPlotComp* m_plot;
    Matrix3d m_before;
    Matrix3d m_after;
};
