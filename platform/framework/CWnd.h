#pragma once
// A window of the layer: a command target tied to one Qt widget, with the
// window calls the program makes (text, visibility, geometry, invalidation,
// focus, capture, timers, dialog items) and the virtual On... calls that the
// widget's events turn into. Key and mouse events of views never travel on to
// parent widgets: "default handling" of a key means nothing happens.
//
// Lifetime: DestroyWindow (or the widget going away with its parent) calls
// OnDestroy and then PostNcDestroy; views and frames delete themselves there
// (a modeless dialog does when its class overrides PostNcDestroy so).
// Deleting a CWnd deletes a widget it still owns.
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "platform/draw/CRgn.h"
#include "platform/framework/CCmdTarget.h"
#include "platform/framework/CString.h"
#include "platform/framework/KeyTranslation.h"

class CDC;
class CDataExchange;
struct DialogTemplate;
class CFrameWnd;
class CMenu;
class QTimer;

// Messages that SendMessage and PostMessage understand; others reach OnMessage.
enum : UINT { WM_CLOSE = 0x0010, WM_COMMAND = 0x0111, WM_USER = 0x0400, WM_APP = 0x8000 };

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd();
    ~CWnd() override;

    QWidget* GetSafeHwnd() const { return m_widget; }
    QWidget* widget() const { return m_widget; }
    static CWnd* FromWidget(const QWidget* widget);
    // Binds this object to a widget made elsewhere (a dialog control); the
    // widget stays owned by its Qt parent.
    virtual void Attach(QWidget* widget);
    QWidget* Detach();
    BOOL SubclassDlgItem(UINT id, CWnd* parent);

    // Window basics.
    virtual BOOL ShowWindow(int cmd);
    virtual BOOL IsWindowVisible() const;
    virtual void SetWindowText(const char* text);
    CString GetWindowText() const;
    void GetWindowText(CString& text) const { text = GetWindowText(); }
    int GetWindowTextLength() const { return GetWindowText().GetLength(); }
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    virtual BOOL DestroyWindow();
    void GetClientRect(CRect* rect) const;
    virtual void GetWindowRect(CRect* rect) const;  // screen coordinates
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const CRect& rect, BOOL repaint = TRUE);
    void CenterWindow(CWnd* alternateOwner = nullptr);
    CWnd* GetParent() const;
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    void ClientToScreen(CPoint* point) const;
    void ClientToScreen(CRect* rect) const;
    void ScreenToClient(CPoint* point) const;
    void ScreenToClient(CRect* rect) const;

    // Painting.
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const CRect* rect, BOOL erase = TRUE);
    void InvalidateRgn(const CRgn* region, BOOL erase = TRUE);
    void ValidateRect(const CRect*) {}
    void UpdateWindow();
    // Where every invalidation ends: the area (all of it when null) must be
    // repainted. Views also note it as the area OnDraw repaints.
    virtual void InvalidateArea(const QRegion* region);
    void RedrawWindow(const CRect* rect = nullptr, const CRgn* region = nullptr, UINT flags = 0);
    void ScrollWindow(int dx, int dy, const CRect* = nullptr, const CRect* = nullptr);

    // Focus, capture, timers.
    CWnd* SetFocus();
    static CWnd* GetFocus();
    void SetCapture();
    static void ReleaseCapture();
    static CWnd* GetCapture();
    // The capture was taken from this window before it released it (another
    // window took the capture or the release, a modal window opened over it,
    // or it was hidden); not called for its own ReleaseCapture.
    virtual void OnCaptureChanged(CWnd* newCapture) {}
    // Starts (or restarts, when the id runs already) a timer calling OnTimer(id).
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, void* unused = nullptr);
    BOOL KillTimer(UINT_PTR id);

    // Dialog items: child windows by control id.
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const { return m_controlId; }
    void SetDlgCtrlID(int id) { m_controlId = id; }
    void SetDlgItemText(int id, const char* text);
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    void CheckRadioButton(int firstId, int lastId, int checkId);
    int GetCheckedRadioButton(int firstId, int lastId) const;

    // Messages: WM_CLOSE runs OnClose, WM_COMMAND routes the command in wParam;
    // others go to OnMessage. PostMessage delivers later on the UI thread and
    // may be called from any thread; so do SendMessage and SetWindowText
    // when a worker thread calls them.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    CMenu* GetMenu() const { return nullptr; }

    // Data exchange between controls and members (dialogs, form views, bars):
    // TRUE saves the controls into the members and validates; a failed
    // validation has told the user and answers FALSE.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* dx) {}
    // A control of this window reports (BN_CLICKED, LBN_SELCHANGE, ...):
    // notification handlers first, then command handlers of the id.
    virtual void OnControlNotify(UINT code, UINT id);
    // Builds the controls of a dialog template into this window's widget
    // (or into container); the control objects belong to this window.
    BOOL CreateControlsFromTemplate(UINT templateId, QWidget* container = nullptr);
    // Gives a control the focus (and selects an edit's text).
    void GotoDlgCtrl(CWnd* control);

    // Runs a command from a menu or control of this window through its routing.
    virtual BOOL OnCmdMsgFromUser(UINT id);
    // Key press before OnKeyDown: accelerators. True when the key was used.
    virtual bool PreTranslateKey(const KeyStroke& key);

    // Called by the widget bridge.
    void WidgetDestroyed();

protected:
    friend class WndBridge;
    friend void BuildDialogControls(CWnd* owner, const DialogTemplate& t, QWidget* container);
    // Makes this window's widget (the bridge classes call back into the On...s).
    void SetWidget(QWidget* widget, bool owned);
    void CreateChildWidget(CWnd* parent);

    virtual int OnCreate() { return 0; }
    virtual void OnDestroy() {}
    virtual void PostNcDestroy() {}
    virtual void OnClose() { DestroyWindow(); }
    virtual void OnSize(UINT type, int cx, int cy) {}
    virtual void OnPaint() {}
    // Fills the area about to be drawn (the window colour); TRUE when done.
    virtual BOOL OnEraseBkgnd(CDC* dc);
    virtual void OnKeyDown(UINT vk, UINT repeat, UINT flags) {}
    virtual void OnKeyUp(UINT vk, UINT repeat, UINT flags) {}
    virtual void OnChar(UINT ch, UINT repeat, UINT flags) {}
    virtual void OnLButtonDown(UINT flags, CPoint point) {}
    virtual void OnLButtonUp(UINT flags, CPoint point) {}
    virtual void OnLButtonDblClk(UINT flags, CPoint point) {}
    virtual void OnRButtonDown(UINT flags, CPoint point) {}
    virtual void OnRButtonUp(UINT flags, CPoint point) {}
    virtual void OnMouseMove(UINT flags, CPoint point) {}
    virtual BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint) { return FALSE; }
    // Called on every mouse move over the client area before OnMouseMove; a
    // handler that sets a cursor returns TRUE.
    virtual BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) { return FALSE; }
    virtual void OnTimer(UINT_PTR id) {}
    virtual void OnContextMenu(CWnd* wnd, CPoint screenPoint) {}
    virtual void OnSetFocus(CWnd* oldWnd) {}
    virtual void OnKillFocus(CWnd* newWnd) {}
    virtual void OnShowWindow(BOOL show, UINT status) {}
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return 0; }

    QPointer<QWidget> m_widget;
    bool m_ownsWidget = false;
    int m_controlId = 0;

    std::vector<std::unique_ptr<CWnd>> m_templateControls;
    CWnd* m_previousOwner = nullptr;  // the template's object of a control this one took over

private:
    std::map<UINT_PTR, QTimer*> m_timers;
    bool m_destroying = false;
};

// Sets the mouse cursor; answers nothing useful (the old cursor is not kept).
void SetCursorShape(Qt::CursorShape shape);
void SetCursorImage(const QCursor& cursor);
// Hides (false) or shows (true) the mouse cursor over the layer's windows; nests.
int ShowCursor(BOOL show);
// The mouse position in screen coordinates.
BOOL GetCursorPos(CPoint* point);
// The beep of the user-interface seam.
void MessageBeep(UINT type);
