#pragma once
// Drives the real editor program on the X display with xdotool: starts it
// with clean settings and data folders, waits for its windows, types, opens
// menus by keyboard, takes screenshots and waits for the program to end.
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

class EditorSession {
public:
    // folder: where settings, data and screenshots go (made empty first).
    explicit EditorSession(const QString& folder);
    ~EditorSession();

    // Whether a display, xdotool and the program are there; the reason when not.
    static bool CanRun(QString* reason);

    // Starts the program and waits for a main window whose title matches.
    bool Start(const QStringList& arguments, const QString& titlePattern);
    // Waits for a window whose title matches; answers its id or "".
    QString WaitForWindow(const QString& titlePattern, int timeoutMs = 8000);
    // Waits until no window whose title matches is shown.
    bool WaitForWindowGone(const QString& titlePattern, int timeoutMs = 15000);
    bool Focus(const QString& window);
    bool FocusMain() { return Focus(m_mainWindow); }
    // Starts the kernel from the Kernel menu, waits until its start-up
    // dialog is gone and focuses the main window again.
    bool StartKernel();
    // Waits for a window whose title matches and takes it as the main window
    // from now on (the program may show a message before its main window).
    bool WaitForMainWindow(const QString& titlePattern);

    // The system clipboard as another program sees it, through xclip: puts
    // UTF-8 text under one target (xclip keeps serving it), or reads it.
    bool PutClipboard(const QByteArray& utf8, const QString& target);
    QByteArray ClipboardText();

    void Type(const QString& text);
    void Key(const QString& keys); // as xdotool names them: "Return", "ctrl+s"
    // Opens the menu whose title carries the mnemonic ("E&lement") and
    // chooses the item with the mnemonic letter (a null item leaves the menu
    // open for the arrow keys).
    bool Menu(const QString& menuTitle, QChar item);
    bool Screenshot(const QString& path);
    // The screen as it is now (null when it cannot be taken).
    QImage Grab();

    // Waits until condition holds (true), or the time is up or the program
    // has ended (false).
    bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 15000);
    // The kernel program the editor started, 0 while there is none.
    qint64 KernelProcessId() const;
    // Clicks the left button at a point of the screen.
    void Click(int x, int y);
    // The whole document as text, through Select All and Copy.
    QString DocumentText();
    // File / Exit, answering No to saving the document; the exit code.
    int QuitDiscarding();
    // The main window's place on the screen.
    QRect MainWindowRect();
    // The pointer, in screen coordinates; the left button pressed or released.
    void MouseMove(const QPoint& at);
    void MouseDown();
    void MouseUp();

    // The program's exit code, or -1 when it crashed or had to be killed.
    int WaitForExit(int timeoutMs = 15000);
    QString Output() const { return m_output; }
    QString LastError() const { return m_error; }

private:
    QString Xdotool(const QStringList& arguments, int timeoutMs = 5000, bool* ok = nullptr);
    int VisibleWindowCount();
    void Settle(int ms);

    QProcessEnvironment m_env;
    QProcess m_program;
    QString m_mainWindow, m_output, m_error;
};
