#pragma once
// The one way the program talks to the user outside its own windows: message
// boxes, beeps, the status-bar text and the wait cursor. The program calls
// UserInterface::Current(); the window framework provides the default (Qt's
// message boxes), and tests install a recording fake in its place. A program
// without the window framework gets a silent one that answers the default button.
#include <string>

// Message-box buttons (the low four bits of the type).
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_OKCANCEL = 0x01;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x02;
inline constexpr unsigned MB_YESNOCANCEL = 0x03;
inline constexpr unsigned MB_YESNO = 0x04;
inline constexpr unsigned MB_RETRYCANCEL = 0x05;
inline constexpr unsigned MB_TYPEMASK = 0x0F;
// Message-box icons (the next four bits).
inline constexpr unsigned MB_ICONHAND = 0x10;
inline constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
inline constexpr unsigned MB_ICONERROR = MB_ICONHAND;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr unsigned MB_ICONASTERISK = 0x40;
inline constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr unsigned MB_ICONMASK = 0xF0;
// Which button is the default: the first, second or third.
inline constexpr unsigned MB_DEFBUTTON1 = 0x000;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x200;
inline constexpr unsigned MB_DEFMASK = 0xF00;

// The answers of a message box: the id of the button pressed.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // Shows text under caption with the buttons and icon of type; answers
    // the id of the button pressed (IDOK ... IDNO).
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned type) = 0;
    // Sounds the alert of the given type (0 for the default beep).
    virtual void MessageBeep(unsigned type) = 0;
    // The text of the status bar's message pane.
    virtual void SetStatusText(const std::string& text) = 0;
    // The wait cursor shows while at least one Begin is not yet matched by
    // an End; an End without a Begin is ignored.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // The implementation in use: the installed one, else the default.
    static UserInterface& Current();
    // Puts ui in place (null restores the default); returns the one it
    // replaces (null when that was the default).
    static UserInterface* Install(UserInterface* ui);
    // Makes ui the default: the window framework's Qt implementation does
    // this as its library loads, so the drawing layer never links widgets.
    static void SetDefault(UserInterface* ui);

    // The buttons of a type, in order, as answer ids (MB_OK gives {IDOK}).
    static int ButtonCount(unsigned type);
    static int ButtonAnswer(unsigned type, int index);
    // The answer of the default button of a type.
    static int DefaultAnswer(unsigned type);
};

// Shows the wait cursor for one scope.
class CWaitCursor {
public:
    CWaitCursor() { UserInterface::Current().BeginWaitCursor(); }
    ~CWaitCursor() { UserInterface::Current().EndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
