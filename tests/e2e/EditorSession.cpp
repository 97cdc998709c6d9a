#include "EditorSession.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <dlfcn.h>

static const QString kProgram = QString(QV_BINARY_DIR) + "/app/quorvant";

namespace {

// The keysym of a character, as xdotool and the X library name it ("U03B4").
KeySym KeysymOf(char32_t ch)
{
    return ch < 0x100 ? KeySym(ch) : KeySym(0x01000000 | ch);
}

// Gives every character a keycode of its own that nothing else uses, unless
// the keyboard map holds it already. xdotool would map a spare key for the
// moment of each key press instead, and an editor that reads the changed map
// after the press sees the wrong character, or none. The caller keeps the
// connection open while the editor runs: an X server without clients resets
// and forgets the map.
bool MapKeys(Display* display, const QString& characters)
{
    int minCode = 0, maxCode = 0, perCode = 0;
    XDisplayKeycodes(display, &minCode, &maxCode);
    KeySym* map = XGetKeyboardMapping(display, KeyCode(minCode), maxCode - minCode + 1, &perCode);
    auto unused = [&](int code) {
        for (int i = 0; i < perCode; ++i)
            if (map[(code - minCode) * perCode + i] != NoSymbol)
                return false;
        return true;
    };
    bool ok = map != nullptr;
    int code = maxCode;
    for (char32_t ch : characters.toUcs4()) {
        KeySym sym = KeysymOf(ch);
        if (!ok || XKeysymToKeycode(display, sym) != 0)
            continue;
        while (code >= minCode && !unused(code))
            --code;
        if (code < minCode) {
            ok = false;
            break;
        }
        KeySym both[2] = {sym, sym};
        XChangeKeyboardMapping(display, code, 2, both, 1);
        map[(code - minCode) * perCode] = sym;
    }
    XSync(display, False);
    if (map)
        XFree(map);
    return ok;
}

// The X test extension's key event, loaded when first asked for (its
// library comes with the X server's tools; only the headers may be missing).
using FakeKeyEvent = int (*)(Display*, unsigned int keycode, Bool press, unsigned long delay);
FakeKeyEvent FakeKey()
{
    static const FakeKeyEvent fake = [] {
        void* library = dlopen("libXtst.so.6", RTLD_NOW);
        return library ? reinterpret_cast<FakeKeyEvent>(dlsym(library, "XTestFakeKeyEvent")) : nullptr;
    }();
    return fake;
}

// Presses and releases the key that MapKeys gave the character.
bool PressMappedKey(Display* display, char32_t ch)
{
    const KeyCode code = display ? XKeysymToKeycode(display, KeysymOf(ch)) : 0;
    const bool sent = code != 0 && FakeKey() && FakeKey()(display, code, True, 0) && FakeKey()(display, code, False, 0);
    if (display)
        XSync(display, False);
    return sent;
}

} // namespace

EditorSession::EditorSession(const QString& folder, const QString& typedCharacters) : m_typedCharacters(typedCharacters)
{
    QDir(folder).removeRecursively();
    m_env = QProcessEnvironment::systemEnvironment();
    m_env.remove("QT_QPA_PLATFORM"); // real windows on the display
    const std::pair<const char*, const char*> folders[] = {{"QV_SETTINGS_DIR", "/settings"},
                                                           {"XDG_DATA_HOME", "/data"},
                                                           {"XDG_CONFIG_HOME", "/config"},
                                                           {"XDG_RUNTIME_DIR", "/runtime"}};
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
    if (m_display)
        XCloseDisplay(m_display);
    if (m_bellDisplay)
        XCloseDisplay(m_bellDisplay);
}

bool EditorSession::WatchBell()
{
    if (!m_bellDisplay)
        m_bellDisplay = XOpenDisplay(nullptr);
    int opcode = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!m_bellDisplay || !XkbQueryExtension(m_bellDisplay, &opcode, &m_bellEvent, &error, &major, &minor))
        return false;
    m_bells = 0;
    const bool watching = XkbSelectEvents(m_bellDisplay, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
    XSync(m_bellDisplay, True);
    return watching;
}

int EditorSession::BellsRung()
{
    if (!m_bellDisplay)
        return 0;
    XSync(m_bellDisplay, False);
    while (XPending(m_bellDisplay)) {
        XEvent event;
        XNextEvent(m_bellDisplay, &event);
        if (event.type == m_bellEvent && reinterpret_cast<XkbEvent*>(&event)->any.xkb_type == XkbBellNotify)
            ++m_bells;
    }
    return m_bells;
}

bool EditorSession::CanRun(QString* reason)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        *reason = "no X display (DISPLAY is not set); the test command runs the tests under xvfb-run";
    else if (QStandardPaths::findExecutable("xdotool").isEmpty())
        *reason = "xdotool is not installed";
    else if (!FakeKey())
        *reason = "the X test extension's library (libXtst.so.6) is not installed";
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

QString EditorSession::NoWindowError(const QString& titlePattern)
{
    QString error = "no window titled like \"" + titlePattern + "\" appeared";
    if (m_program.state() == QProcess::NotRunning) {
        m_output += QString::fromLocal8Bit(m_program.readAll());
        error += QString("; the editor ended (%1, code %2) saying:\n%3")
                     .arg(m_program.exitStatus() == QProcess::NormalExit ? "normally" : "by a crash")
                     .arg(m_program.exitCode())
                     .arg(m_output);
    }
    return error;
}

bool EditorSession::Start(const QStringList& arguments, const QString& titlePattern)
{
    if (!m_typedCharacters.isEmpty() && !m_display)
        m_display = XOpenDisplay(nullptr);
    if (!m_typedCharacters.isEmpty() && !(m_display && MapKeys(m_display, m_typedCharacters))) {
        m_error = "no spare keys for the characters " + m_typedCharacters;
        return false;
    }
    m_program.start(kProgram, arguments);
    if (!m_program.waitForStarted(5000)) {
        m_error = "the editor did not start: " + m_program.errorString();
        return false;
    }
    m_mainWindow = WaitForWindow(titlePattern);
    if (m_mainWindow.isEmpty()) {
        m_error = NoWindowError(titlePattern);
        return false;
    }
    Settle(500);
    return FocusMain();
}

QStringList EditorSession::VisibleWindows(const QString& titlePattern)
{
    const QString found = Xdotool(
        {"search", "--all", "--onlyvisible", "--pid", QString::number(m_program.processId()), "--name", titlePattern},
        2000);
    return found.isEmpty() ? QStringList() : found.split('\n');
}

QString EditorSession::WaitForWindow(const QString& titlePattern, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs && m_program.state() == QProcess::Running) {
        const QStringList found = VisibleWindows(titlePattern);
        if (!found.isEmpty())
            return found.first();
        Settle(100);
    }
    return {};
}

bool EditorSession::WaitForWindowGone(const QString& titlePattern, int timeoutMs)
{
    return WaitUntil([&] { return VisibleWindows(titlePattern).isEmpty(); }, timeoutMs);
}

bool EditorSession::Shows(const QString& titlePattern)
{
    QStringList found = VisibleWindows(titlePattern);
    found.removeAll(m_mainWindow);
    return !found.isEmpty();
}

QString EditorSession::MainTitle()
{
    return Xdotool({"getwindowname", m_mainWindow});
}

bool EditorSession::Answer(const QString& titlePattern, const QString& keys)
{
    QString window;
    WaitUntil([&] {
        const QStringList found = VisibleWindows(titlePattern);
        for (const QString& id : found)
            if (id != m_mainWindow)
                window = id;
        return !window.isEmpty();
    });
    if (window.isEmpty() || !Focus(window)) {
        m_error = "no window titled like \"" + titlePattern + "\" to answer";
        return false;
    }
    Key(keys);
    if (!WaitUntil([&] { return !VisibleWindows(titlePattern).contains(window); })) {
        m_error = "the window titled like \"" + titlePattern + "\" stayed after " + keys;
        return false;
    }
    return FocusMain();
}

bool EditorSession::ChooseFile(const QString& titlePattern, const QString& path)
{
    // Pasted: typing a long path takes seconds.
    if (!PutClipboard(path.toUtf8(), "UTF8_STRING")) {
        m_error = "the path could not be put on the clipboard";
        return false;
    }
    return Answer(titlePattern, "ctrl+a ctrl+v Return");
}

bool EditorSession::Focus(const QString& window)
{
    bool ok = false;
    Xdotool({"windowfocus", "--sync", window}, 3000, &ok);
    Settle(50);
    return ok;
}

bool EditorSession::WaitForMainWindow(const QString& titlePattern)
{
    m_mainWindow = WaitForWindow(titlePattern);
    if (m_mainWindow.isEmpty()) {
        m_error = NoWindowError(titlePattern);
        return false;
    }
    Settle(300);
    return FocusMain();
}

bool EditorSession::StartKernel()
{
    const qint64 earlier = KernelProcessId();
    if (!Menu("&Kernel", 'S'))
        return false;
    // A loaded machine may show the start-up's window a while after the
    // command. The Constants palette the start opens shows after it (the
    // program maps the two in that order), so once the palette shows beside
    // a new kernel the start-up's window has shown too; the start is over
    // once that window has gone.
    if (!WaitUntil([&] {
            const qint64 kernel = KernelProcessId();
            return Shows("^Kernel Startup$") || (kernel != 0 && kernel != earlier && Shows("^Constants$"));
        })) {
        m_error = "the kernel's start did not begin";
        return false;
    }
    if (!WaitForWindowGone("^Kernel Startup$")) {
        m_error = "the kernel did not start";
        return false;
    }
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

QByteArray EditorSession::ClipboardText(const QString& target)
{
    QProcess xclip;
    xclip.setProcessEnvironment(m_env);
    xclip.start("xclip", {"-selection", "clipboard", "-target", target, "-out"});
    if (!xclip.waitForFinished(5000))
        return {};
    return xclip.readAllStandardOutput();
}

QByteArray EditorSession::Copied(const std::function<void()>& copy, int timeoutMs)
{
    const QByteArray marker = "(nothing copied yet)";
    PutClipboard(marker, "UTF8_STRING");
    copy();
    QElapsedTimer timer;
    timer.start();
    QByteArray text = ClipboardText();
    while (text == marker && timer.elapsed() < timeoutMs) {
        Settle(200);
        text = ClipboardText();
    }
    return text;
}

void EditorSession::Type(const QString& text)
{
    QString ascii;
    auto typeAscii = [&] {
        if (!ascii.isEmpty())
            Xdotool({"type", "--delay", "25", "--", ascii}, 60000); // "--": text such as "-1" is no option
        ascii.clear();
    };
    for (char32_t ch : text.toUcs4()) {
        if (ch < 0x80) {
            ascii += QChar(ch);
            continue;
        }
        typeAscii();
        if (!m_typedCharacters.contains(QString::fromUcs4(&ch, 1)) || !PressMappedKey(m_display, ch))
            qWarning("Type: U+%04X has no key of its own (was it given to the session?)", unsigned(ch));
    }
    typeAscii();
    Settle(150);
}

void EditorSession::Key(const QString& keys)
{
    Xdotool(QStringList{"key", "--delay", "40"} + keys.split(' ', Qt::SkipEmptyParts));
    Settle(150);
}

QStringList EditorSession::ShownWindows()
{
    const QString found = Xdotool({"search", "--onlyvisible", "--pid", QString::number(m_program.processId())});
    return found.isEmpty() ? QStringList() : found.split('\n');
}

int EditorSession::VisibleWindowCount()
{
    return int(ShownWindows().size());
}

bool EditorSession::Menu(const QString& menuTitle, QChar item)
{
    int before = VisibleWindowCount();
    Xdotool({"key", QString("alt+") + menuTitle[menuTitle.indexOf('&') + 1].toLower()});
    // A busy machine may take a while to catch up with the keys typed before.
    QElapsedTimer timer;
    timer.start();
    while (VisibleWindowCount() <= before && timer.elapsed() < kPatience)
        Settle(20);
    if (VisibleWindowCount() <= before) {
        m_error = "Alt and the mnemonic did not open the menu " + menuTitle;
        return false;
    }
    if (!item.isNull())
        Xdotool({"key", QString(item)});
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

QString EditorSession::DocumentText()
{
    return QString::fromUtf8(Copied([this] {
        Menu("&Edit", 'l'); // Select All
        Key("ctrl+c");
    }));
}

int EditorSession::QuitDiscarding()
{
    Menu("&File", 'x');
    // The program asks about unsaved changes, or ends at once.
    QString ask = WaitForWindow("^Quorvant$");
    if (!ask.isEmpty()) {
        Focus(ask);
        Key("alt+n");
    }
    return WaitForExit();
}

QImage EditorSession::Grab()
{
    QProcess shot;
    shot.setProcessEnvironment(m_env);
    shot.start("import", {"-window", "root", "png:-"});
    if (!shot.waitForFinished(10000) || shot.exitCode() != 0)
        return {};
    return QImage::fromData(shot.readAllStandardOutput(), "PNG");
}

bool EditorSession::SaveWithKeys(const QString& file)
{
    const QDateTime before = QFileInfo(file).lastModified();
    const qint64 sizeBefore = QFileInfo(file).size();
    Key("ctrl+s");
    return WaitUntil([&] {
        const QFileInfo info(file);
        return info.size() != sizeBefore || info.lastModified() != before;
    });
}

bool EditorSession::WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() >= timeoutMs || m_program.state() != QProcess::Running)
            return false;
        Settle(100);
    }
    return true;
}

qint64 EditorSession::KernelProcessId() const
{
    const QString pid = QString::number(m_program.processId());
    for (const QString& task : QDir("/proc/" + pid + "/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children("/proc/" + pid + "/task/" + task + "/children");
        if (!children.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& child : children.readAll().split(' ')) {
            QFile name("/proc/" + QString::fromLatin1(child.trimmed()) + "/comm");
            if (!child.trimmed().isEmpty() && name.open(QIODevice::ReadOnly) && name.readAll().trimmed() == "qvkernel")
                return child.trimmed().toLongLong();
        }
    }
    return 0;
}

QStringList EditorSession::MoveTo(const QPoint& at)
{
    // A synchronous move to where the pointer stands already would wait for
    // a movement that never comes, for seconds.
    if (Xdotool({"getmouselocation", "--shell"}).startsWith(QString("X=%1\nY=%2\n").arg(at.x()).arg(at.y())))
        return {};
    return {"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())};
}

void EditorSession::Click(int x, int y)
{
    Xdotool(MoveTo(QPoint(x, y)) + QStringList{"click", "1"});
    Settle(150);
}

void EditorSession::ClickWith(const QString& keys, int x, int y)
{
    Xdotool(QStringList{"keydown", keys} + MoveTo(QPoint(x, y)) + QStringList{"click", "1", "keyup", keys});
    Settle(150);
}

QRect EditorSession::MainWindowRect()
{
    return WindowRect(m_mainWindow);
}

QRect EditorSession::WindowRect(const QString& window)
{
    QRect rect;
    for (const QString& line : Xdotool({"getwindowgeometry", "--shell", window}).split('\n')) {
        const QStringList pair = line.split('=');
        if (pair.size() != 2)
            continue;
        const int value = pair[1].toInt();
        if (pair[0] == "X")
            rect.moveLeft(value);
        else if (pair[0] == "Y")
            rect.moveTop(value);
        else if (pair[0] == "WIDTH")
            rect.setWidth(value);
        else if (pair[0] == "HEIGHT")
            rect.setHeight(value);
    }
    return rect;
}

void EditorSession::MouseMove(const QPoint& at)
{
    if (const QStringList move = MoveTo(at); !move.isEmpty())
        Xdotool(move);
    Settle(50);
}

void EditorSession::MouseDown()
{
    Xdotool({"mousedown", "1"});
    Settle(50);
}

void EditorSession::MouseUp()
{
    Xdotool({"mouseup", "1"});
    Settle(50);
}

bool EditorSession::Drag(const QPoint& from, const std::vector<QPoint>& path)
{
    MouseMove(from);
    Settle(150);
    MouseDown();
    Settle(200);
    for (const QPoint& point : path) {
        MouseMove(point);
        Settle(200);
    }
    MouseUp();
    Settle(100);
    return m_program.state() == QProcess::Running;
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
