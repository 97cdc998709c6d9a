#include "platform/QtUserInterface.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "platform/ModalFocusKeeper.h"

namespace {

bool OnUserInterfaceThread()
{
    return qApp && QThread::currentThread() == qApp->thread();
}

// Runs work on the user-interface thread; from a worker it waits until done.
template <typename Work>
void OnUserInterface(Work work, bool wait)
{
    if (!qApp)
        return;
    if (OnUserInterfaceThread())
        work();
    else
        QMetaObject::invokeMethod(qApp, work, wait ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}

QMessageBox::StandardButton StandardButtonFor(int answer)
{
    switch (answer) {
    case IDOK: return QMessageBox::Ok;
    case IDCANCEL: return QMessageBox::Cancel;
    case IDABORT: return QMessageBox::Abort;
    case IDRETRY: return QMessageBox::Retry;
    case IDIGNORE: return QMessageBox::Ignore;
    case IDYES: return QMessageBox::Yes;
    case IDNO: return QMessageBox::No;
    default: return QMessageBox::NoButton;
    }
}

QMessageBox::Icon IconFor(unsigned type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// Every program that links the window framework shows its messages in Qt's boxes.
const bool installedAsDefault = [] {
    UserInterface::SetDefault(&QtUserInterface::Instance());
    return true;
}();

} // namespace

QtUserInterface& QtUserInterface::Instance()
{
    static QtUserInterface instance;
    return instance;
}

int QtUserInterface::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    int answer = DefaultAnswer(type);
    OnUserInterface([&] { answer = ShowBox(text, caption, type); }, true);
    return answer;
}

int QtUserInterface::ShowBox(const std::string& text, const std::string& caption, unsigned type)
{
    QString title = caption.empty() ? QStringLiteral("Quorvant") : QString::fromStdString(caption);
    QMessageBox box(IconFor(type), title, QString::fromStdString(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    for (int i = 0; i < ButtonCount(type); ++i)
        box.addButton(StandardButtonFor(ButtonAnswer(type, i)));
    box.setDefaultButton(StandardButtonFor(DefaultAnswer(type)));
    ModalFocusKeeper focus;
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (int i = 0; i < ButtonCount(type); ++i) {
        int answer = ButtonAnswer(type, i);
        if (clicked && clicked == box.button(StandardButtonFor(answer)))
            return answer;
    }
    // Closed without a button: the cancel answer when there is one.
    for (int i = 0; i < ButtonCount(type); ++i) {
        if (ButtonAnswer(type, i) == IDCANCEL)
            return IDCANCEL;
    }
    return DefaultAnswer(type);
}

void QtUserInterface::MessageBeep(unsigned)
{
    OnUserInterface([] { QApplication::beep(); }, false);
}

void QtUserInterface::SetStatusText(const std::string& text)
{
    QString message = QString::fromStdString(text);
    OnUserInterface(
        [this, message] {
            if (m_statusBar)
                m_statusBar->showMessage(message);
        },
        false);
}

void QtUserInterface::BeginWaitCursor()
{
    OnUserInterface(
        [this] {
            if (m_waitDepth++ == 0)
                QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        },
        false);
}

void QtUserInterface::EndWaitCursor()
{
    OnUserInterface(
        [this] {
            if (m_waitDepth == 0)
                return;
            if (--m_waitDepth == 0)
                QGuiApplication::restoreOverrideCursor();
        },
        false);
}
