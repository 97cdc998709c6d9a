#pragma once
// Drives the real editor program on the X display with xdotool: starts it
// with clean settings and data folders, waits for its windows, types, opens
// menus by keyboard, takes screenshots and waits for the program to end.
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <vector>

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
    // Waits for a window whose title matches and takes it as the main window
    // from now on (the program may show a message before its main window).
    bool WaitForMainWindow(const QString& titlePattern);

    // The system clipboard as another program sees it, through xclip: puts
    // UTF-8 text under one target (xclip keeps serving it), or reads it.
    bool PutClipboard(const QByteArray& utf8, const QString& target);
    QByteArray ClipboardText();

    void Type(const QString& text);
    void Key(const QString& keys);  // as xdotool names them: "Return", "ctrl+s"
    // Opens the menu whose title carries the mnemonic ("E&lement") and
    // chooses the item with the mnemonic letter.
    bool Menu(const QString& menuTitle, QChar item);
    bool Screenshot(const QString& path);
    // Presses the left button at a screen point, moves through the points
    // given and releases it at the last one.
    bool Drag(const QPoint& from, const std::vector<QPoint>& path);

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
