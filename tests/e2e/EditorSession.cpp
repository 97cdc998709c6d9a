#include "EditorSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QStandardPaths>
#include <QThread>

#include "platform/framework/CMenu.h"
#include "resources/ProgramResources.h"

namespace {

constexpr int kDocumentMenu = 129;

QString Program()
{
    return QString(QV_BINARY_DIR) + "/app/quorvant";
}

}  // namespace

EditorSession::EditorSession(const QString& folder) : m_folder(folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder + "/settings");
    QDir().mkpath(folder + "/data");
    QDir().mkpath(folder + "/config");
    QDir().mkpath(folder + "/runtime");
    QFile::setPermissions(folder + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    m_env = QProcessEnvironment::systemEnvironment();
    // The editor shows real windows on the display.
    m_env.remove("QT_QPA_PLATFORM");
    m_env.insert("QV_SETTINGS_DIR", folder + "/settings");
    m_env.insert("XDG_DATA_HOME", folder + "/data");
    m_env.insert("XDG_CONFIG_HOME", folder + "/config");
    m_env.insert("XDG_RUNTIME_DIR", folder + "/runtime");
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
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        *reason = "no X display (DISPLAY is not set); the test command runs the tests under xvfb-run";
        return false;
    }
    if (QStandardPaths::findExecutable("xdotool").isEmpty()) {
        *reason = "xdotool is not installed";
        return false;
    }
    if (!QFile::exists(Program())) {
        *reason = "the editor program is not built: " + Program();
        return false;
    }
    return true;
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
    if (m_program.bytesAvailable() > 0)
        m_output += QString::fromLocal8Bit(m_program.readAll());
}

bool EditorSession::Start(const QStringList& arguments, const QString& titlePattern, int timeoutMs)
{
    m_program.start(Program(), arguments);
    if (!m_program.waitForStarted(5000)) {
        m_error = "the editor did not start: " + m_program.errorString();
        return false;
    }
    m_mainWindow = WaitForWindow(titlePattern, timeoutMs);
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
    while (timer.elapsed() < timeoutMs) {
        QStringList args{"search", "--onlyvisible", "--name", titlePattern};
        if (m_program.state() == QProcess::Running)
            args = QStringList{"search", "--all", "--onlyvisible", "--pid", QString::number(m_program.processId()),
                               "--name", titlePattern};
        QString found = Xdotool(args, 2000);
        if (!found.isEmpty())
            return found.split('\n').first();
        if (m_program.state() == QProcess::NotRunning)
            return {};
        Settle(100);
    }
    return {};
}

bool EditorSession::Focus(const QString& window)
{
    bool ok = false;
    Xdotool({"windowfocus", "--sync", window}, 3000, &ok);
    Settle(150);
    return ok;
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
    int amp = menuTitle.indexOf('&');
    QChar letter = amp >= 0 && amp + 1 < menuTitle.size() ? menuTitle[amp + 1].toLower() : QChar();
    Key(QString("alt+") + letter);
    Settle(250);
    if (VisibleWindowCount() <= before) {
        // The keyboard did not open the menu: click its title instead.
        if (!ClickMenuTitle(menuTitle))
            return false;
        ++m_menusByClick;
        Settle(300);
        if (VisibleWindowCount() <= before) {
            m_error = "the menu " + menuTitle + " did not open";
            return false;
        }
    }
    Key(QString(item));
    Settle(250);
    return true;
}

bool EditorSession::ClickMenuTitle(const QString& menuTitle)
{
    // Where the title lies in the program's menu bar: the same menu in a bar
    // of this process, with the same fonts and style.
    static bool resources = RegisterProgramResources();
    if (!resources)
        return false;
    CMenu menu;
    if (!menu.LoadMenu(kDocumentMenu))
        return false;
    QMenuBar bar;
    menu.FillMenuBar(&bar);
    bar.resize(1600, bar.sizeHint().height());
    for (QAction* action : bar.actions())
        if (action->text() == menuTitle) {
            QPoint at = bar.actionGeometry(action).center();
            bool ok = false;
            Xdotool({"mousemove", "--window", m_mainWindow, QString::number(at.x()), QString::number(at.y()),
                     "click", "1"},
                    3000, &ok);
            return ok;
        }
    m_error = "no menu titled " + menuTitle;
    return false;
}

bool EditorSession::Screenshot(const QString& path)
{
    QProcess shot;
    shot.setProcessEnvironment(m_env);
    if (!QStandardPaths::findExecutable("import").isEmpty())
        shot.start("import", {"-window", "root", path});
    else
        shot.start("sh", {"-c", "xwd -root -silent > '" + path + ".xwd'"});
    return shot.waitForFinished(10000) && shot.exitCode() == 0;
}

int EditorSession::WaitForExit(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (m_program.state() != QProcess::NotRunning && timer.elapsed() < timeoutMs)
        Settle(100);
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished(5000);
        m_output += QString::fromLocal8Bit(m_program.readAll());
        return -1;
    }
    m_output += QString::fromLocal8Bit(m_program.readAll());
    return m_program.exitStatus() == QProcess::NormalExit ? m_program.exitCode() : -1;
}
