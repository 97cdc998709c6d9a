#pragma once
// While the program waits for work that holds its documents (a kernel
// calculation keeps the document, its view and the action that will place
// the answer), input that would edit or close a document is held back: it is
// refused with a beep and a status text, closing first asks to stop the work,
// and Escape stops it. The application installs what holds the input; the
// windows' event filter and the command route ask here, and so does any code
// that acts on input some other way (a mouse tracker, a drag).
#include <functional>
#include <string>

class InputHold {
public:
    virtual ~InputHold() = default;
    // True while input is held.
    virtual bool IsHolding() const = 0;
    // Escape: asks the work to stop.
    virtual void Stop() = 0;
    // A command that may run while input is held (the one that stops the work).
    virtual bool AllowsCommand(unsigned id) const = 0;
    // Closing a window or the program while input is held: asks the user
    // whether to stop the work; when the user agrees, the work is stopped and
    // close runs once it has ended.
    virtual void CloseWhenStopped(std::function<void()> close) = 0;
    // The status text of refused input.
    virtual std::string RefusalText() const = 0;
};

namespace InputGate {

// Puts hold in place (null: nothing is ever held); answers the one replaced.
InputHold* Install(InputHold* hold);
InputHold* Current();
// The one question: is input that would edit or close a document held now?
bool IsHolding();
// Input refused: a beep and the status text saying why.
void Refuse();
// When input is held: refuses it and answers true (the caller drops it).
bool RefuseWhileHolding();
// Whether the command may run now; when not, it has been refused or, for a
// command that closes, deferred until the work has stopped (run then by
// rerun). Answers true when the command may run at once.
bool LetCommandThrough(unsigned id, bool closes, const std::function<void()>& rerun);

} // namespace InputGate
