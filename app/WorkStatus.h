#pragma once
// What the user sees of long work on a large document (see LongWork): the
// wait cursor and the work's progress in the status bar. Meanwhile the
// windows stay alive, input that would edit or close a document is held (see
// InputGate) and the views show what they showed; Escape stops the work, and
// closing a window asks to stop it first. The application installs the one
// instance.
#include "foundation/LongWork.h"
#include "platform/InputGate.h"

#include <string>

class WorkStatus : public WorkWatcher, public InputHold {
public:
    static constexpr const char* kCloseQuestion = "The work under way is not finished. Stop it and close?";

    static WorkStatus& Instance();

    // ---- WorkWatcher ----
    bool Progress(const char* what, int percent) override;
    void Finished() noexcept override;

    // ---- InputHold ----
    bool IsHolding() const override { return m_running; }
    void Stop() override;
    bool AllowsCommand(unsigned) const override { return false; }
    void CloseWhenStopped(std::function<void()> close) override;
    std::string RefusalText() const override;

private:
    void Show(const std::string& text);

    bool m_running = false;
    bool m_stopping = false;
    bool m_pumping = false;
    bool m_asking = false;
    InputHold* m_previous = nullptr;
    std::string m_what;
    std::string m_shown;
};
