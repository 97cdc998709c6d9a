#pragma once
// The user interface seam over Qt widgets: QMessageBox, QApplication::beep,
// the main window's status bar and the application's override cursor.
// Calls from worker threads are carried to the user-interface thread
// (message boxes block the worker until answered).
#include <QPointer>
#include <QStatusBar>

#include "platform/UserInterface.h"

class QtUserInterface : public UserInterface {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    void MessageBeep(unsigned type) override;
    void SetStatusText(const std::string& text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    // The status bar that receives the status text (the main frame's).
    void SetStatusBar(QStatusBar* bar) { m_statusBar = bar; }
    int WaitDepth() const { return m_waitDepth; }

    static QtUserInterface& Instance();

private:
    int ShowBox(const std::string& text, const std::string& caption, unsigned type);

    QPointer<QStatusBar> m_statusBar;
    int m_waitDepth = 0;
};
