#include "app/WorkStatus.h"

#include "app/CalculationHold.h"
#include "platform/UserInterface.h"
#include "platform/framework/CView.h"

#include <QCoreApplication>

WorkStatus& WorkStatus::Instance()
{
    static WorkStatus status;
    return status;
}

bool WorkStatus::Progress(const char* what, int percent)
{
    if (!m_running) {
        m_running = true;
        m_stopping = false;
        m_previous = InputGate::Install(this);
        UserInterface::Current().BeginWaitCursor();
    }
    m_what = what;
    if (!m_stopping)
        Show(m_what + "\u2026 " + std::to_string(percent) + "% (Esc stops it)");
    // The windows paint, menus open and Escape arrives; what would change a
    // document is held meanwhile.
    if (!m_pumping) {
        m_pumping = true;
        QCoreApplication::processEvents();
        m_pumping = false;
    }
    return !m_stopping;
}

void WorkStatus::Finished() noexcept
{
    if (!m_running)
        return;
    m_running = false;
    m_stopping = false;
    InputGate::Install(m_previous);
    m_previous = nullptr;
    UserInterface::Current().EndWaitCursor();
    Show("");
    CView::DrawHeldViews();
}

void WorkStatus::Stop()
{
    if (!m_running || m_stopping)
        return;
    m_stopping = true;
    Show("Stopping\u2026");
}

void WorkStatus::CloseWhenStopped(std::function<void()> close)
{
    CalculationHold::AskToStopAndClose(
        kCloseQuestion, m_asking, [this] { Stop(); }, std::move(close));
}

std::string WorkStatus::RefusalText() const
{
    return m_what + "\u2026 Esc stops it.";
}

void WorkStatus::Show(const std::string& text)
{
    if (text == m_shown)
        return;
    m_shown = text;
    UserInterface::Current().SetStatusText(text);
}
