#pragma once
// Drives the real editor program on the X display with xdotool: starts it
// with clean settings and data folders, waits for its windows, types, opens
// menus by keyboard, takes screenshots and waits for the program to end.
// Every wait is for a condition (a window, the clipboard's text, the end of
// the program), with limits generous enough for a heavily loaded machine.
#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class EditorSession {
public:
    // folder: where settings, data and screenshots go (made empty first).
    // typedCharacters: the characters beyond ASCII that Type will be given;
    // they get keys of their own before the editor starts (see Type).
    explicit EditorSession(const QString& folder, const QString& typedCharacters = {});
    ~EditorSession();

    // Whether a display, xdotool and the program are there; the reason when not.
    static bool CanRun(QString* reason);

    // Starts the program and waits for a main window whose title matches.
    bool Start(const QStringList& arguments, const QString& titlePattern);
    // Waits for a window whose title matches; answers its id or "".
    QString WaitForWindow(const QString& titlePattern, int timeoutMs = kPatience);
    // Waits until no window whose title matches is shown.
    bool WaitForWindowGone(const QString& titlePattern, int timeoutMs = kPatience);
    // Whether a window other than the main one whose title matches is shown now.
    bool Shows(const QString& titlePattern);
    // The main window's title now.
    QString MainTitle();
    // The ids of the program's shown windows, an open menu's among them.
    QStringList ShownWindows();
    // Waits for a window other than the main one whose title matches (a
    // dialog, a message), presses keys in it and waits until that window is
    // gone (another of the same title may follow); then focuses the main
    // window again.
    bool Answer(const QString& titlePattern, const QString& keys);
    // Answers a file dialog with a path put over what it proposes.
    bool ChooseFile(const QString& titlePattern, const QString& path);
    bool Focus(const QString& window);
    bool FocusMain() { return Focus(m_mainWindow); }
    // Starts the kernel from the Kernel menu, waits until its start-up
    // dialog is gone and focuses the main window again.
    bool StartKernel();
    // Waits for a window whose title matches and takes it as the main window
    // from now on (the program may show a message before its main window).
    bool WaitForMainWindow(const QString& titlePattern);

    // The system clipboard as another program sees it, through xclip: puts
    // UTF-8 text under one target (xclip keeps serving it), or reads what it
    // holds under one (its TARGETS: the forms it holds).
    bool PutClipboard(const QByteArray& utf8, const QString& target);
    QByteArray ClipboardText(const QString& target = "UTF8_STRING");
    // Puts a marker on the clipboard, runs copy (the keys or menu steps that
    // copy), and waits until the clipboard holds something else: the copy.
    QByteArray Copied(const std::function<void()>& copy, int timeoutMs = kPatience);

    // ASCII is typed by xdotool; any other character is pressed through the X
    // test extension on its key of its own, which was mapped before the
    // editor started, so that no key is remapped while the editor reads the
    // keyboard map (it must be in typedCharacters).
    void Type(const QString& text);
    // Keys as xdotool names them, one after another: "Return", "ctrl+s", "Home shift+End".
    void Key(const QString& keys);
    // Opens the menu whose title carries the mnemonic ("E&lement") and
    // chooses the item with the mnemonic letter (a null item leaves the menu
    // open for the arrow keys).
    bool Menu(const QString& menuTitle, QChar item);
    bool Screenshot(const QString& path);
    // The screen as it is now (null when it cannot be taken).
    QImage Grab();

    // Waits until condition holds (true), or the time is up or the program
    // has ended (false).
    bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = kPatience);
    // Presses Ctrl+S and waits until the file's size or time of change
    // differs from what they were before (false when they never do).
    bool SaveWithKeys(const QString& file);
    // The kernel program the editor started, 0 while there is none.
    qint64 KernelProcessId() const;
    // Clicks the left button at a point of the screen.
    void Click(int x, int y);
    // The same with keys held ("shift", "ctrl").
    void ClickWith(const QString& keys, int x, int y);
    // The whole document as text, through Select All and Copy.
    QString DocumentText();
    // File / Exit, answering No to saving the document; the exit code.
    int QuitDiscarding();
    // The main window's place on the screen.
    QRect MainWindowRect();
    // The place on the screen of a window (an id from WaitForWindow).
    QRect WindowRect(const QString& window);
    // The pointer, in screen coordinates; the left button pressed or released.
    void MouseMove(const QPoint& at);
    void MouseDown();
    void MouseUp();
    // Presses the left button at a screen point, moves through the points
    // given and releases it at the last one.
    bool Drag(const QPoint& from, const std::vector<QPoint>& path);

    // Counts the rings of the X bell (the editor's beeps) from now on, on a
    // connection of its own; false when the display cannot report them.
    bool WatchBell();
    // How often the bell rang since WatchBell.
    int BellsRung();

    // The program's exit code, or -1 when it crashed or had to be killed.
    int WaitForExit(int timeoutMs = kPatience);
    QString Output() const { return m_output; }
    QString LastError() const { return m_error; }

    // How long any wait lasts before it counts as a failure.
    static constexpr int kPatience = 90000;

private:
    // The shown windows whose titles match, the main window first.
    QStringList VisibleWindows(const QString& titlePattern);
    QString Xdotool(const QStringList& arguments, int timeoutMs = 30000, bool* ok = nullptr);
    // xdotool's steps that move the pointer to a point, none when it is there.
    QStringList MoveTo(const QPoint& at);
    int VisibleWindowCount();
    // Why no window came: with what the editor said when it has ended.
    QString NoWindowError(const QString& titlePattern);
    void Settle(int ms);

    QProcessEnvironment m_env;
    QProcess m_program;
    QString m_mainWindow, m_output, m_error, m_typedCharacters;
    // The connection that mapped the keys of typedCharacters, open while the
    // editor runs (see MapKeys).
    struct _XDisplay* m_display = nullptr;
    // The connection that hears the bell, with the X keyboard extension's
    // first event code and the rings heard so far.
    struct _XDisplay* m_bellDisplay = nullptr;
    int m_bellEvent = 0;
    int m_bells = 0;
};
