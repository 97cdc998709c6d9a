#pragma once
// The drawing's connections bar: a dialog bar (template 182) holding the
// "dpile" control 1122, bound by data exchange once the bar exists, which
// shows the item pile of the drawing being edited.
#include <memory>

#include "app/PileWindow.h"
#include "platform/framework/CDialogBar.h"

class DiagramComp;

class CPileBar : public CDialogBar {
    DECLARE_DYNAMIC(CPileBar)
public:
    CPileBar();
    ~CPileBar() override;

    // Makes the bar from its template and binds the pile control.
    BOOL Create(CWnd* parent, UINT templateId, UINT style, UINT barId);
    // Hands the drawing (or none) to the pile control.
    void SetDrawing(DiagramComp* drawing);
    PileWindow* GetPileWindow() const { return m_pile.get(); }

protected:
    void DoDataExchange(CDataExchange* dx) override;

private:
    std::unique_ptr<PileWindow> m_pile;
};
