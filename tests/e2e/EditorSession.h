#pragma once
// Drives the real editor program on the X display with xdotool: starts it
// with a clean settings and data folder, waits for its windows, focuses it,
// types, presses keys, opens menus by keyboard (or, when the keyboard does
// not open one, by a click on the menu title), takes screenshots, and waits
// for the program to end.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class EditorSession {
public:
    // folder: where settings, data and screenshots go (made empty first).
    explicit EditorSession(const QString& folder);
    ~EditorSession();

    // Whether a display and xdotool are there to drive the editor with;
    // the reason when not.
    static bool CanRun(QString* reason);

    // Starts the program and waits (up to timeoutMs) for a main window
    // whose title matches the pattern; false with the reason otherwise.
    bool Start(const QStringList& arguments, const QString& titlePattern, int timeoutMs = 15000);
    // Waits for a window whose title matches; answers its id or 0.
    QString WaitForWindow(const QString& titlePattern, int timeoutMs = 8000);
    bool Focus(const QString& window);
    bool FocusMain() { return Focus(m_mainWindow); }

    void Type(const QString& text);
    // Keys as xdotool names them ("Return", "Tab", "ctrl+s").
    void Key(const QString& keys);
    // Opens the menu whose title carries the mnemonic (E&lement: 'l') and
    // chooses the item with the mnemonic.
    bool Menu(const QString& menuTitle, QChar item);
    bool Screenshot(const QString& path);

    // Waits for the program to end; its exit code, or -1 when it had to be
    // killed or crashed.
    int WaitForExit(int timeoutMs = 15000);
    QString Output() const { return m_output; }
    // How many menus would not open from the keyboard and were clicked open.
    int MenusOpenedByClick() const { return m_menusByClick; }
    QString LastError() const { return m_error; }

private:
    QString Xdotool(const QStringList& arguments, int timeoutMs = 5000, bool* ok = nullptr);
    int VisibleWindowCount();
    bool ClickMenuTitle(const QString& menuTitle);
    void Settle(int ms);

    QString m_folder;
    QProcessEnvironment m_env;
    QProcess m_program;
    QString m_mainWindow;
    QString m_output;
    QString m_error;
    int m_menusByClick = 0;
};
