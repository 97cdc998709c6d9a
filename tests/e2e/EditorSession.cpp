#include "EditorSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>

static const QString kProgram = QString(QV_BINARY_DIR) + "/app/quorvant";

EditorSession::EditorSession(const QString& folder)
{
    QDir(folder).removeRecursively();
    m_env = QProcessEnvironment::systemEnvironment();
    m_env.remove("QT_QPA_PLATFORM");  // real windows on the display
    const std::pair<const char*, const char*> folders[] = {{"QV_SETTINGS_DIR", "/settings"},
        {"XDG_DATA_HOME", "/data"}, {"XDG_CONFIG_HOME", "/config"}, {"XDG_RUNTIME_DIR", "/runtime"}};
    for (auto [variable, name] : folders) {
        QDir().mkpath(folder + name);
        m_env.insert(variable, folder + name);
    }
    QFile::setPermissions(folder + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The X keyboard library reads keymap names past their end (not ours),
    // which the strict string checks of the test run would report.
    m_env.insert("ASAN_OPTIONS", "detect_leaks=1");
    m_program.setProcessEnvironment(m_env);
    m_program.setProcessChannelMode(QProcess::MergedChannels);
}

EditorSession::~EditorSession()
{
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished(5000);
    }
}

bool EditorSession::CanRun(QString* reason)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        *reason = "no X display (DISPLAY is not set); the test command runs the tests under xvfb-run";
    else if (QStandardPaths::findExecutable("xdotool").isEmpty())
        *reason = "xdotool is not installed";
    else if (QStandardPaths::findExecutable("xclip").isEmpty())
        *reason = "xclip is not installed";
    else if (!QFile::exists(kProgram))
        *reason = "the editor program is not built: " + kProgram;
    else
        return true;
    return false;
}

QString EditorSession::Xdotool(const QStringList& arguments, int timeoutMs, bool* ok)
{
    QProcess tool;
    tool.setProcessEnvironment(m_env);
    tool.start("xdotool", arguments);
    bool finished = tool.waitForStarted(2000) && tool.waitForFinished(timeoutMs);
    if (!finished) {
        tool.kill();
        tool.waitForFinished(2000);
    }
    if (ok)
        *ok = finished && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

void EditorSession::Settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    m_output += QString::fromLocal8Bit(m_program.readAll());
}

bool EditorSession::Start(const QStringList& arguments, const QString& titlePattern)
{
    m_program.start(kProgram, arguments);
    if (!m_program.waitForStarted(5000)) {
        m_error = "the editor did not start: " + m_program.errorString();
        return false;
    }
    m_mainWindow = WaitForWindow(titlePattern, 15000);
    if (m_mainWindow.isEmpty()) {
        m_error = "no window titled like \"" + titlePattern + "\" appeared";
        return false;
    }
    Settle(500);
    return FocusMain();
}

QString EditorSession::WaitForWindow(const QString& titlePattern, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs && m_program.state() == QProcess::Running) {
        QString found = Xdotool({"search", "--all", "--onlyvisible", "--pid", QString::number(m_program.processId()),
                                 "--name", titlePattern},
                                2000);
        if (!found.isEmpty())
            return found.split('\n').first();
        Settle(100);
    }
    return {};
}

bool EditorSession::WaitForWindowGone(const QString& titlePattern, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs && m_program.state() == QProcess::Running) {
        QString found = Xdotool({"search", "--all", "--onlyvisible", "--pid", QString::number(m_program.processId()),
                                 "--name", titlePattern},
                                2000);
        if (found.isEmpty())
            return true;
        Settle(100);
    }
    return false;
}

bool EditorSession::Focus(const QString& window)
{
    bool ok = false;
    Xdotool({"windowfocus", "--sync", window}, 3000, &ok);
    Settle(150);
    return ok;
}

bool EditorSession::WaitForMainWindow(const QString& titlePattern)
{
    m_mainWindow = WaitForWindow(titlePattern, 15000);
    if (m_mainWindow.isEmpty()) {
        m_error = "no window titled like \"" + titlePattern + "\" appeared";
        return false;
    }
    Settle(300);
    return FocusMain();
}

bool EditorSession::PutClipboard(const QByteArray& utf8, const QString& target)
{
    QProcess xclip;
    xclip.setProcessEnvironment(m_env);
    xclip.start("xclip", {"-selection", "clipboard", "-target", target, "-in"});
    if (!xclip.waitForStarted(3000))
        return false;
    xclip.write(utf8);
    xclip.closeWriteChannel();
    // xclip leaves a child behind that serves the text until another
    // program takes the clipboard; the one started here ends at once.
    const bool done = xclip.waitForFinished(5000) && xclip.exitCode() == 0;
    Settle(200);
    return done;
}

QByteArray EditorSession::ClipboardText()
{
    QProcess xclip;
    xclip.setProcessEnvironment(m_env);
    xclip.start("xclip", {"-selection", "clipboard", "-target", "UTF8_STRING", "-out"});
    if (!xclip.waitForFinished(5000))
        return {};
    return xclip.readAllStandardOutput();
}

void EditorSession::Type(const QString& text)
{
    Xdotool({"type", "--delay", "25", text}, 20000);
    Settle(150);
}

void EditorSession::Key(const QString& keys)
{
    Xdotool({"key", "--delay", "40", keys});
    Settle(150);
}

int EditorSession::VisibleWindowCount()
{
    QString found = Xdotool({"search", "--onlyvisible", "--pid", QString::number(m_program.processId())});
    return found.isEmpty() ? 0 : int(found.split('\n').size());
}

bool EditorSession::Menu(const QString& menuTitle, QChar item)
{
    int before = VisibleWindowCount();
    Key(QString("alt+") + menuTitle[menuTitle.indexOf('&') + 1].toLower());
    // A busy machine may take a while to catch up with the keys typed before.
    QElapsedTimer timer;
    timer.start();
    while (VisibleWindowCount() <= before && timer.elapsed() < 5000)
        Settle(100);
    if (VisibleWindowCount() <= before) {
        m_error = "Alt and the mnemonic did not open the menu " + menuTitle;
        return false;
    }
    Key(QString(item));
    Settle(250);
    return true;
}

bool EditorSession::Screenshot(const QString& path)
{
    QProcess shot;
    shot.setProcessEnvironment(m_env);
    shot.start("import", {"-window", "root", path});
    return shot.waitForFinished(10000) && shot.exitCode() == 0;
}

bool EditorSession::Drag(const QPoint& from, const std::vector<QPoint>& path)
{
    bool ok = false;
    Xdotool({"mousemove", "--sync", QString::number(from.x()), QString::number(from.y())}, 3000, &ok);
    if (!ok)
        return false;
    Settle(200);
    Xdotool({"mousedown", "1"}, 3000, &ok);
    Settle(250);
    for (const QPoint& point : path) {
        Xdotool({"mousemove", "--sync", QString::number(point.x()), QString::number(point.y())}, 3000);
        Settle(250);
    }
    Xdotool({"mouseup", "1"}, 3000, &ok);
    Settle(150);
    return ok;
}

int EditorSession::WaitForExit(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (m_program.state() != QProcess::NotRunning && timer.elapsed() < timeoutMs)
        Settle(100);
    bool killed = m_program.state() != QProcess::NotRunning;
    if (killed) {
        m_program.kill();
        m_program.waitForFinished(5000);
    }
    m_output += QString::fromLocal8Bit(m_program.readAll());
    return !killed && m_program.exitStatus() == QProcess::NormalExit ? m_program.exitCode() : -1;
}
