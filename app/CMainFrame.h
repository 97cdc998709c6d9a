#pragma once
// The main window: a multiple-document frame with the docked main toolbar,
// the status bar and three floating bars (the Symbols palette, the drawing
// tools and the drawing's connections bar), and the modeless Constants
// palette while the kernel runs. It shows the drawing bars for the drawing
// the active document view is editing and sends the tool buttons to it.
#include "app/CPileBar.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "platform/framework/CStatusBar.h"
#include "platform/framework/CToolBar.h"

#include <QRect>
#include <array>
#include <vector>

class CConstantsDialog;
class DiagramComp;
class QWidget;

class CMainFrame : public CMDIFrameWnd {
    DECLARE_DYNAMIC(CMainFrame)
public:
    // Commands of the frame.
    enum : UINT {
        ID_VIEW_SYMBOLS = 32990, ID_VIEW_CONSTANTS = 32991,
        ID_TOOL_POINTER = 34046, ID_TOOL_PENCIL = 34047, ID_TOOL_GRABBER = 34048, ID_TOOL_MAGNIFIER = 34049
    };
    // Resources and bar ids.
    enum : UINT { IDR_MAINFRAME = 128, IDR_SYMBOLS = 138, IDR_DRAWING = 179, IDD_CONNECTIONS = 182 };

    CMainFrame();
    ~CMainFrame() override;

    // Puts the floating bars inside the frame's right edge, on the screen
    // and apart from each other (once the frame is shown maximised).
    void PlaceBars();
    // Puts a palette window of the frame on the screen, apart from the
    // floating bars and the caret: beside the frame when the screen has room
    // there, else inside its right edge.
    void PlacePalette(QWidget& palette);
    // The drawing bars follow the drawing being edited.
    void ShowDrawingBars(DiagramComp* drawing);
    void HideDrawingBars();
    DiagramComp* GetDrawing() const { return m_pDrawing; }

    // The Constants palette exists from kernel start to kernel quit.
    void CreateConstantsPalette();
    void DestroyConstantsPalette();
    CConstantsDialog* GetConstantsPalette() const { return m_pConstants; }
    // Told by the palette when its window goes.
    void ConstantsPaletteDestroyed(CConstantsDialog* palette);

    // Print preview hides the Symbols palette and restores it afterwards.
    void OnSetPreviewMode(BOOL preview, CPrintPreviewState* state) override;

    CStatusBar& GetStatusBar() { return m_wndStatusBar; }
    CToolBar& GetToolBar() { return m_wndToolBar; }
    CToolBar& GetSymbolBar() { return m_wndSymbolBar; }
    CToolBar& GetDrawingBar() { return m_wndDrawingBar; }
    CPileBar& GetPileBar() { return m_wndPileBar; }

protected:
    int OnCreate() override;
    void OnDestroy() override;

private:
    bool CreateFloatingToolBar(CToolBar& bar, UINT resourceId, DWORD style, const char* title, CPoint at);
    void OnViewSymbols();
    void OnUpdateViewSymbols(CCmdUI* ui);
    void OnViewConstants();
    void OnUpdateViewConstants(CCmdUI* ui);
    void OnTool(UINT id);
    void OnUpdateTool(CCmdUI* ui);
    CControlBar* BarOfCommand(UINT id);
    // The part of the screen inside the frame where palettes go: below the
    // menu and the toolbar, clear of the right edge.
    QRect PaletteArea() const;
    // The floating bars, in the order they are placed.
    std::array<CControlBar*, 3> Bars();
    // The screen rectangles of the floating bars.
    std::vector<QRect> FloatingBarRects();

    CConstantsDialog* m_pConstants = nullptr;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CToolBar m_wndSymbolBar;
    CToolBar m_wndDrawingBar;
    CPileBar m_wndPileBar;
    bool m_bSymbolBarWasVisible = false;
    DiagramComp* m_pDrawing = nullptr;
};

// The one main frame (null before it is made and after it is gone).
extern CMainFrame* gMainFrame;
