#pragma once
// What holds the editor's input while a calculation waits for the kernel:
// the document, its view and the action that will place the answer are in
// use, so keys, clicks and closing are held back (see InputGate). Escape and
// Quit Kernel stop the calculation; closing a window or the program asks to
// stop it first and closes once it has ended.
#include "platform/InputGate.h"

class CalculationHold : public InputHold {
public:
    static constexpr const char* kRefusal = "Calculating\u2026 Esc stops it.";
    static constexpr const char* kCloseQuestion = "A calculation is running. Stop it and close?";

    bool IsHolding() const override;
    void Stop() override;
    bool AllowsCommand(unsigned id) const override;
    void CloseWhenStopped(std::function<void()> close) override;
    std::string RefusalText() const override { return kRefusal; }

    // Runs work from the event loop once no calculation waits any more.
    static void RunWhenFree(std::function<void()> work);
    // Closing while input is held: asks the question (asking is set
    // meanwhile; a second close is refused), and on yes stops the work and
    // closes once it has ended.
    static void AskToStopAndClose(const char* question, bool& asking, const std::function<void()>& stop,
                                  std::function<void()> close);

private:
    bool m_asking = false;
};
