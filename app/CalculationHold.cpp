#include "app/CalculationHold.h"

#include "app/CCorvellApp.h"
#include "kernel/KernelLink.h"
#include "platform/UserInterface.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

// How often a closing that waits for the calculation looks again.
constexpr int kRetryMs = 50;

} // namespace

bool CalculationHold::IsHolding() const
{
    KernelLink* link = KernelLink::Get();
    return link && link->IsWaiting();
}

void CalculationHold::Stop()
{
    if (KernelLink* link = KernelLink::Get())
        link->AbortEvaluation();
    UserInterface::Current().SetStatusText("Stopping the calculation\u2026");
}

bool CalculationHold::AllowsCommand(unsigned id) const
{
    return id == CCorvellApp::ID_KERNEL_QUIT;
}

void CalculationHold::CloseWhenStopped(std::function<void()> close)
{
    // Closing does not wait for the kernel to stop: the calculation gives up
    // its answer at once.
    const auto stopNow = [this] {
        Stop();
        if (KernelLink* link = KernelLink::Get())
            link->GiveUpWaiting();
    };
    AskToStopAndClose(kCloseQuestion, m_asking, stopNow, std::move(close));
}

void CalculationHold::AskToStopAndClose(const char* question, bool& asking, const std::function<void()>& stop,
                                        std::function<void()> close)
{
    // A second close while the question is open is refused like any input.
    if (asking) {
        InputGate::Refuse();
        return;
    }
    asking = true;
    const int answer =
        UserInterface::Current().MessageBox(question, "Quorvant", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    asking = false;
    if (answer != IDYES)
        return;
    stop();
    RunWhenFree(std::move(close));
}

void CalculationHold::RunWhenFree(std::function<void()> work)
{
    // From the event loop, never inside the waiting code: what closes frees
    // the document and view the calculation holds.
    QTimer::singleShot(kRetryMs, QCoreApplication::instance(), [work = std::move(work)]() mutable {
        if (InputGate::IsHolding())
            RunWhenFree(std::move(work));
        else
            work();
    });
}
