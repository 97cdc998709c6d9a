#pragma once
// What the benchmarks of the real document view share: an application with
// the program's document template and a main frame of 1200 x 900, and a way
// to let the events of a step settle before the next is timed.
#include "app/CChildFrame.h"
#include "app/CCorvellDoc.h"
#include "app/CCorvellView.h"
#include "app/CMainFrame.h"
#include "foundation/TextLayoutItemMaker.h"
#include "math/MathComponents.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CWinApp.h"
#include "resources/ProgramResources.h"

#include <QCoreApplication>
#include <QWidget>

namespace benchdoc {

class BenchApp : public CWinApp {
public:
    BenchApp() : CWinApp("Quorvant") {}
    BOOL InitInstance() override
    {
        AddDocTemplate(new CMultiDocTemplate(129, RUNTIME_CLASS(CCorvellDoc), RUNTIME_CLASS(CChildFrame),
                                             RUNTIME_CLASS(CCorvellView)));
        frame = new CMainFrame;
        if (!frame->LoadFrame(CMainFrame::IDR_MAINFRAME))
            return FALSE;
        m_pMainWnd = frame;
        frame->widget()->resize(1200, 900);
        frame->ShowWindow(SW_SHOW);
        return TRUE;
    }
    CMainFrame* frame = nullptr;
};

inline void Settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Starts the application with the program's resources, layout and
// mathematics components and a new document; answers its view, or null.
inline CCorvellView* OpenNewDocumentView(BenchApp& app)
{
    RegisterProgramResources();
    InstallTextLayout();
    RegisterMathComponents();
    app.InitInstance();
    app.OnFileNew();
    Settle();
    CMDIChildWnd* child = app.frame->MDIGetActive();
    return child ? dynamic_cast<CCorvellView*>(child->GetActiveView()) : nullptr;
}

} // namespace benchdoc
