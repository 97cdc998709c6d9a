#pragma once
// What the kernel link needs from the user interface: the dialogs that answer
// the kernel's questions, the locate prompt of the start-up, the start-up
// status, and a way to keep the windows alive while a request waits. The
// application installs the dialogs; tests install scripted answers.
//
// The link calls every member on the user-interface thread, except the
// start-up members, which the start-up worker calls and which must hand their
// work to the user-interface thread.
#include <optional>
#include <string>
#include <vector>

class ExprNode;

class KernelQuestions {
public:
    virtual ~KernelQuestions() = default;

    // Questions 1 and 2: the expression typed, or null when cancelled. With
    // selectPart, the node the user selected carries the mover flag (it is
    // sent marked).
    virtual ExprNode* AskExpression(const std::string& prompt, const ExprNode* initial, bool selectPart) = 0;
    // Question 3: the 0-based index of the choice, or -1 when cancelled.
    virtual int ChooseOne(const std::string& prompt, const std::vector<std::string>& choices) = 0;
    // Question 5: the items of the right-hand list on OK, as indices into
    // `unselected` followed by `selected`; nothing when cancelled.
    virtual std::optional<std::vector<int>> ChooseSubset(const std::string& prompt, const std::string& leftLabel,
                                                         const std::string& rightLabel,
                                                         const std::vector<std::string>& unselected,
                                                         const std::vector<std::string>& selected) = 0;
    // Question 6, and every message of the link.
    virtual void ShowMessage(const std::string& text) = 0;
    // Question 7: true for Yes; No and closing answer false.
    virtual bool AskYesNo(const std::string& question) = 0;
    // Called every few milliseconds while a request waits for its answer.
    virtual void Yield() {}
    // The wait cursor and the busy status for requests that show them.
    virtual void BeginWait() {}
    virtual void EndWait() {}
    // The status bar text about a request the editor makes by itself (the
    // choices for a selection) that has run long enough to be noticed, and
    // then how it ended; "" gives the status bar back.
    virtual void RequestStatus(const std::string& text) { (void)text; }
    // The Constants palette opens as a kernel starts and closes as it goes
    // (quit, or the link closed by the kernel).
    virtual void ConstantsPalette(bool open) { (void)open; }

    // ---- start-up (called on the start-up worker) ----
    // The folder holding the kernel program chosen by the user, or "" when
    // the user gave up.
    virtual std::string LocateKernel() = 0;
    virtual void StartupStatus(const std::string& text) = 0;
    // The start-up has ended (connected, failed or cancelled).
    virtual void StartupFinished(bool connected) = 0;
};
