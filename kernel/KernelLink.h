#pragma once
// The editor's one connection to the computer-algebra kernel. It starts the
// kernel program (on a worker thread), writes each request as one packet,
// waits for the answer while answering the kernel's questions through the
// installed KernelQuestions, reads the answer into expression nodes, and
// quits the kernel again.
//
// Every request is guarded: none is written to a missing, closed or busy link;
// a refused request answers its failure value at once (an error node, one
// choice of code 0, the text "Error"). Requests run on the user-interface
// thread; the state flags are atomic because the start-up worker writes them.
#include "kernel/KernelPrefs.h"
#include "mathlink/MathLink.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CompositeNode;
class ExprNode;
class KernelQuestions;
class TermOrdering;

struct KernelChoice {
    int code = 0;
    std::string text;
    int extra = 0;
};

class KernelLink {
public:
    static constexpr int kMaxChoices = 16;
    static constexpr const char* kProgramName = "qvkernel";
    static constexpr const char* kPackageName = "VXCompute`";
    // How long a kernel asked to stop may go without a word before it is
    // ended. A kernel that is stopping a computation says so at once and then
    // every tenth of a second, and ends itself when the computation cannot be
    // stopped; one silent this long is hung.
    static constexpr std::chrono::milliseconds kAbortGrace{400};
    // How long a drag step (QVConstrainedMin) may wait for its answer before
    // the kernel is asked to stop it: the pointer has moved on meanwhile, and
    // the step is given up for its newest place.
    static constexpr std::chrono::milliseconds kDragStepLimit{250};
    // How long the kernel may take to offer the calculations for a selection
    // or a drag before it is asked to stop: nobody asked for them, and input
    // is held while they are sought.
    static constexpr std::chrono::milliseconds kChoiceLimit{2000};
    // How long such a request of the editor's own runs before the status bar
    // says so (a quick one passes unnoticed).
    static constexpr std::chrono::milliseconds kOwnRequestNotice{300};

    // Reads the calculation preferences; no kernel is connected.
    KernelLink();
    virtual ~KernelLink();
    KernelLink(const KernelLink&) = delete;
    KernelLink& operator=(const KernelLink&) = delete;

    // ---- state ----
    bool IsReady() const { return m_ready; }
    bool IsBusy() const { return m_busy; }
    bool IsStarting() const { return m_starting; }
    // True while a calculation waits for the kernel on the user-interface
    // thread, from its first request until its answer has been placed: the
    // document, its view and the action that holds the calculation must
    // stay as they are (the input gate holds input back meanwhile).
    bool IsWaiting() const { return m_waiting > 0; }
    // Marks the user-interface thread as waiting for the process-wide
    // link's calculation for one scope (every request is one; a calculation
    // that sends several requests spans them all).
    class WaitScope {
    public:
        explicit WaitScope(KernelLink* link = Get());
        ~WaitScope();
        WaitScope(const WaitScope&) = delete;
        WaitScope& operator=(const WaitScope&) = delete;

    private:
        KernelLink* m_link;
    };
    // Shows the busy message and answers true while a request runs.
    bool ShowBusyMessage();
    // The user stops the running request (Escape, Quit Kernel, closing):
    // its kernel is asked to stop, whatever answer it then gives is dropped
    // (the request answers $Aborted), and the rest of the calculation's
    // scope sends nothing more. A kernel that ends itself because it cannot
    // stop, or that stays silent for kAbortGrace, is ended and started again,
    // with a message saying what was lost; one that has nothing to stop is
    // given kAbortGrace for its answer, and then the wait ends without it
    // (it is read and dropped before the next request). When the outermost
    // scope ends, the status bar says "Aborted".
    void AbortEvaluation();
    // Quit Kernel and closing: the running request stops waiting at once;
    // the kernel's answer, when it comes, is dropped as above.
    void GiveUpWaiting();
    // Whether the user has stopped the calculation of the scope under way.
    bool StopRequested() const { return m_stopLatched; }
    // The same, after letting through the input that came meanwhile (an
    // Escape typed while an answer was read or prepared): a calculation asks
    // before it places its answer.
    bool NoticeStop();
    // Runs work now when no request runs, else as soon as the running one
    // has ended (a mouse release that needs the kernel's answer). The work
    // runs inside the request's caller: it must not free what the caller
    // holds.
    void WhenIdle(std::function<void()> work);

    virtual bool CanStartKernel() const { return true; }
    // Starts the kernel on a worker thread; the questions' start-up members
    // report its progress. Nothing while a kernel is connected or starting.
    virtual void StartKernel();
    // Cancels a start-up under way (the Cancel button): the worker ends the
    // kernel at its next step, without a message.
    void CancelStartup();
    // Quits the kernel and disconnects; nothing without a kernel.
    virtual void QuitKernel();
    // Cancels a start-up under way and waits until its worker has ended.
    virtual void EndStartup();

    // The folder looked in when the "Kernel Path" setting does not hold the
    // kernel program (the editor's own folder).
    void SetFallbackFolder(std::string folder) { m_fallbackFolder = std::move(folder); }
    // The folder a start would take the kernel program from: the setting's
    // when it holds the program, else the fallback's when that does, else
    // the setting as it stands.
    std::string KernelFolderInUse() const;
    // The dialogs and the event pump; null makes every question cancelled.
    void SetQuestions(KernelQuestions* questions) { m_questions = questions; }
    KernelQuestions* Questions() const { return m_questions; }
    KernelPrefs& Prefs() { return m_prefs; }
    bool ConstantsToBack() const { return m_constantsToBack; }
    // Makes the preferences and the term ordering the ones the expression
    // nodes use; on the user-interface thread after a start-up has ended.
    void ApplyNodeSettings();
    // The link itself (tests record what is written on a loopback link).
    MLINK Link() const { return m_link; }
    // Uses an already connected link as this link's kernel (tests).
    void Attach(MLINK link);

    // ---- requests ----
    ExprNode* StringEvaluate(const ExprNode* node);
    ExprNode* Evaluate(int mode, const ExprNode* node);
    ExprNode* Simplify(const ExprNode* node);
    ExprNode* Shuffle(int position, const ExprNode* node);
    ExprNode* Drop(int position, const ExprNode* a, const ExprNode* b);
    // The three choice requests are the editor's own: each is stopped after
    // kChoiceLimit, and then offers nothing (one choice of code 0).
    int EvaluateShuffle(const ExprNode* node, KernelChoice* choices);
    int EvaluateDrop(const ExprNode* a, const ExprNode* b, KernelChoice* choices);
    int EvaluateEval(const ExprNode* node, KernelChoice* choices);
    // The largest integer of the list plus one; 1 for an empty list.
    ExprNode* NextAfterMax(const ExprNode* list);
    void SetConstantAttribute(char letter, bool set);
    void SetSessionPrefs();
    void SendStartupPrefs();
    // Takes the list (null allowed) and deletes it in every case.
    void SetSortPriorities(ExprNode* list, bool constantsToBack);
    ExprNode* ResetSortPriorities(bool useDefault);
    // A new text; "Error" when the kernel gave none of the expected form.
    std::string ToStandardFormString(const ExprNode* node);
    // The same text in the kernel's own characters (UTF-8), not taken into
    // the program's codes: a notebook needs the characters themselves, which
    // the program's codes keep only together with the face they are in.
    std::string ToStandardFormText(const ExprNode* node);

    // Plots and drawings.
    ExprNode* ComputePlot(const ExprNode* node);     // null when the kernel answers $Canceled
    ExprNode* ResolvePlot(const ExprNode* a, const ExprNode* b);
    ExprNode* PlotDeficit(const ExprNode* a, const ExprNode* b, const ExprNode* c, const ExprNode* d);
    ExprNode* VariableCheck(const ExprNode* a, const ExprNode* b, const ExprNode* c);
    ExprNode* GetPlotVars(const ExprNode* a, const ExprNode* b, const ExprNode* c);
    ExprNode* FinalizeModel(const ExprNode* a);
    ExprNode* CheckDeficit(const ExprNode* a, const ExprNode* b);
    ExprNode* ResolveDeficits(const ExprNode* a, const ExprNode* b, const ExprNode* c);
    ExprNode* BuildModelFromCore(const ExprNode* a, const ExprNode* b);
    ExprNode* BuildModelFromVars(const ExprNode* a, const ExprNode* b);
    // QVConstrainedMin[a, b, c] when b is given, else QVSolveSystem[a].
    // A drag step that outlasts the drag step limit is stopped (its answer
    // is then no list).
    ExprNode* SolveSystem(const ExprNode* a, const ExprNode* b, const ExprNode* c);
    void SetDragStepLimit(std::chrono::milliseconds limit) { m_dragStepLimit = limit; }

    // ---- the packet loop ----
    // Reads packets until the return packet (true) or a link error (false),
    // answering questions and showing messages on the way.
    bool WaitForReturn(bool showMessages);
    // Shows the expression-input dialog (drawings ask through it).
    ExprNode* AskKernelExpression(const std::string& prompt);
    // Reports the link's error, if any; a kernel that closed the link leaves
    // the editor without a kernel.
    void ReportError();
    int LastError() const { return m_lastError; }
    // What the kernel's last message during the latest request said (shown
    // or not, without the kernel's name for it); empty when it sent none.
    const std::string& LastKernelMessage() const { return m_lastKernelMessage; }

    // The process-wide link, made and deleted by the application object on
    // the user-interface thread; null outside its lifetime (headless tests).
    static KernelLink* Get() { return s_link.load(); }
    static void Set(KernelLink* link) { s_link.store(link); }

protected:
    std::atomic<bool> m_ready{false};
    std::atomic<bool> m_busy{false};
    std::atomic<bool> m_starting{false};

private:
    struct Arg;
    using Writer = std::function<void(MLINK)>;
    class Request;
    class OwnRequest;

    bool Writable() const;
    // The guarded request: writes, ends the packet and waits; null after a refusal.
    ExprNode* NodeRequest(bool wrapped, bool cursor, const Writer& write, bool modelBuilding = false);
    int ChoiceRequest(const Writer& write, KernelChoice* choices);
    void DiscardRequest(const Writer& write);
    ExprNode* ReadAnswer();
    // Waits for the request's answer: true when it is there to be read;
    // false when the link failed, the wait was given up, or the request was
    // asked to stop (an answer that came all the same is dropped unread).
    bool AwaitAnswer(bool showMessages);
    // A node request's answer when none was read: $Aborted for a request the
    // kernel was asked to stop and that is still connected, else an error node.
    ExprNode* NoAnswer() const;
    // Reads and drops the answer of a request whose wait was given up.
    bool SkipOwedAnswer();
    void RequestAbort();
    std::string ReadText(bool programCodes = true);
    std::string StandardFormText(const ExprNode* node, bool programCodes);
    std::string SequenceText(const CompositeNode& row, bool programCodes);
    void FinishRequest();
    void EndWaitScope();
    void RestartAfterAbort();
    void Message(const std::string& text);
    void AnswerQuestion(int number);
    // Reads a message packet and its text packet, and shows the text when asked.
    void ReadKernelMessage(int& packet, bool show);
    void YieldWhileWaiting();
    void WatchStoppingKernel();
    void CheckOwnRequest();
    void Disconnect();
    void CloseLink();

    static bool OnStartupWorker();
    void RunStartup();
    std::string FindKernelFolder();
    void FailStartup(const std::string& message, bool connected);

    KernelPrefs m_prefs;
    KernelQuestions* m_questions = nullptr;
    MLENV m_environment = nullptr;
    std::atomic<MLINK> m_link{nullptr};
    std::atomic<int> m_lastError{0};
    std::atomic<bool> m_constantsToBack{true};
    std::string m_fallbackFolder;
    std::string m_lastKernelMessage;
    std::vector<std::function<void()>> m_idleWork;

    std::atomic<int> m_waiting{0};
    std::atomic<bool> m_abortRequested{false};
    // After an abort: when the kernel last said it is stopping (or the abort
    // went), and whether a word is awaited (not once it said it has nothing
    // to stop: its answer is on the way).
    std::chrono::steady_clock::time_point m_lastWord;
    bool m_awaitingWord = false;
    // The kernel said it has nothing to stop: its answer is on the way.
    bool m_answerOnItsWay = false;
    // The user stopped the calculation of the outermost wait scope. Read on
    // the start-up worker too.
    std::atomic<bool> m_stopLatched{false};
    std::atomic<bool> m_givingUp{false};
    // A request gave up its wait before its answer came.
    std::atomic<bool> m_answerOwed{false};
    std::chrono::milliseconds m_dragStepLimit{kDragStepLimit};
    // The request of the editor's own that waits, if any.
    OwnRequest* m_own = nullptr;
    bool m_endedAfterAbort = false;

    std::atomic<bool> m_running{false};     // the start-up has not been cancelled
    std::thread m_worker;

    static inline std::atomic<KernelLink*> s_link{nullptr};
};
