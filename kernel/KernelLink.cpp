#include "kernel/KernelLink.h"

#include "foundation/Str255.h"
#include "kernel/CompositeNode.h"
#include "kernel/KernelQuestions.h"
#include "kernel/KernelReader.h"
#include "kernel/LeafNodes.h"
#include "kernel/MathLinkCharConv.h"
#include "kernel/NameTable.h"
#include "kernel/NodeSettings.h"
#include "kernel/TermOrdering.h"
#include "platform/UserInterface.h"

#include <algorithm>
#include <exception>
#include <memory>

namespace {

constexpr const char* kBusyMessage = "Waiting for a kernel calculation to complete.\n"
                                     "You will not be able to perform any actions until the calculation is complete.";
constexpr const char* kErrorText = "Error";
constexpr const char* kRestartedText =
    "The kernel did not stop when asked, so it has been ended and is being started again. "
    "The calculation gave no answer, and what this kernel session held is lost: definitions made with "
    "Evaluate Code, and letters marked in the Constants palette.";
constexpr const char* kEndedText =
    "The kernel did not stop when asked and has been ended. Start it again from the Kernel menu.";
constexpr const char* kAborted = "Aborted";
constexpr const char* kSeekingChoices = "Looking for calculations\u2026 Esc stops it.";
constexpr const char* kNoChoicesInTime = "No calculations are offered: the kernel took too long to find them.";

// Writes the node in package form, or Null for a missing one.

void PutPackage(MLINK link, const ExprNode* node, int mode)
{
    if (node)
        node->PutPackageForm(link, mode);
    else
        MLPutSymbol(link, "Null");
}

void PutPlain(MLINK link, const ExprNode* node)
{
    if (node)
        node->PutPlainForm(link);
    else
        MLPutSymbol(link, "Null");
}

// head[args...] with every argument in package mode 0.
std::function<void(MLINK)> Call(const char* head, std::vector<const ExprNode*> args)
{
    return [head, args](MLINK link) {
        MLPutFunction(link, head, int(args.size()));
        for (const ExprNode* arg : args)
            PutPackage(link, arg, 0);
    };
}

std::function<void(MLINK)> PlainCall(const char* head, std::vector<const ExprNode*> args)
{
    return [head, args](MLINK link) {
        MLPutFunction(link, head, int(args.size()));
        for (const ExprNode* arg : args)
            PutPlain(link, arg);
    };
}

std::string TextOf(ExprNode* node)
{
    Str255 text;
    node->GetText(text);
    return std::string(text.GetPtrAt(0), std::size_t(text.GetLength()));
}

// One element of a choice-list answer: {code, text, extra}; anything else is
// a choice of code 0 reading "???".
KernelChoice ChoiceOf(ExprNode* element)
{
    KernelChoice choice;
    choice.text = "???";
    auto* record = dynamic_cast<CompositeNode*>(element);
    if (!record || element->GetTag() != TypeTag("lisN") || !record->First() ||
        record->First()->GetTag() != TypeTag("intN"))
        return choice;
    choice.code = record->First()->GetIntegerValue();
    if (ExprNode* text = record->ChildAt(2))
        choice.text = text->GetTag() == TypeTag("strN") ? static_cast<StringNode*>(text)->Text() : TextOf(text);
    if (ExprNode* extra = record->ChildAt(3); extra && extra->GetTag() == TypeTag("intN"))
        choice.extra = extra->GetIntegerValue();
    return choice;
}

} // namespace

KernelLink::KernelLink()
{
    m_prefs.Load();
}

KernelLink::~KernelLink()
{
    if (m_worker.joinable()) {
        m_running = false;
        m_worker.join();
    }
    if (m_link.load())
        KernelLink::QuitKernel();
}

bool KernelLink::ShowBusyMessage()
{
    if (!m_link.load() || !m_busy)
        return false;
    UserInterface::Current().MessageBox(kBusyMessage, "Quorvant", MB_OK);
    return true;
}

void KernelLink::AbortEvaluation()
{
    if (m_waiting > 0)
        m_stopLatched = true;
    RequestAbort();
}

void KernelLink::RequestAbort()
{
    MLINK link = m_link;
    if (!link || !m_busy || m_abortRequested)
        return;
    m_lastWord = std::chrono::steady_clock::now();
    m_awaitingWord = true;
    m_answerOnItsWay = false;
    m_abortRequested = true;
    MLPutMessage(link, MLABORTMESSAGE);
}

bool KernelLink::NoticeStop()
{
    if (m_waiting > 0 && m_questions)
        m_questions->Yield();
    return m_stopLatched;
}

void KernelLink::GiveUpWaiting()
{
    if (m_busy)
        m_givingUp = true;
}

void KernelLink::WhenIdle(std::function<void()> work)
{
    if (m_busy)
        m_idleWork.push_back(std::move(work));
    else
        work();
}

void KernelLink::Attach(MLINK link)
{
    m_link = link;
    m_answerOwed = false;
    m_ready = link != nullptr;
    if (link)
        MLSetYieldFunction(link, [this] { YieldWhileWaiting(); });
}

bool KernelLink::Writable() const
{
    return m_link.load() && !m_busy && !m_stopLatched && (!m_starting || OnStartupWorker());
}

void KernelLink::Message(const std::string& text)
{
    if (m_questions)
        m_questions->ShowMessage(text);
    else
        UserInterface::Current().MessageBox(text, "Quorvant", MB_OK);
}

// ---- the request skeleton ----

KernelLink::WaitScope::WaitScope(KernelLink* link) : m_link(link && !OnStartupWorker() ? link : nullptr)
{
    if (m_link && m_link->m_waiting++ == 0)
        m_link->m_stopLatched = false;
}

KernelLink::WaitScope::~WaitScope()
{
    if (m_link)
        m_link->EndWaitScope();
}

void KernelLink::EndWaitScope()
{
    if (--m_waiting > 0 || !m_stopLatched)
        return;
    // The calculation the user stopped has ended: the stop is the last word.
    m_stopLatched = false;
    if (m_questions)
        m_questions->RequestStatus(kAborted);
}

// One request from its first write until its answer has been read: the link
// is busy and every way out, an exception too, frees it again, with nothing
// half-written or half-read left on the link.
class KernelLink::Request {
public:
    Request(KernelLink& link, bool cursor, bool modelBuilding)
        : m_link(link), m_wait(&link), m_cursor(cursor && link.m_questions),
          m_oldModelBuilding(NodeSettings::Get().modelBuilding), m_exceptions(std::uncaught_exceptions())
    {
        if (modelBuilding)
            NodeSettings::Get().modelBuilding = true;
        if (m_cursor)
            m_link.m_questions->BeginWait();
        m_link.m_lastKernelMessage.clear();
        m_link.m_busy = true;
    }
    ~Request()
    {
        if (std::uncaught_exceptions() > m_exceptions) {
            if (MLINK link = m_link.m_link) {
                MLClearPutPacket(link);
                MLNewPacket(link);
            }
        }
        m_link.FinishRequest();
        if (m_cursor && m_link.m_questions)
            m_link.m_questions->EndWait();
        NodeSettings::Get().modelBuilding = m_oldModelBuilding;
    }
    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;

    // Writes the request as one packet; false when nothing was sent: the
    // user stopped it while an earlier answer was awaited, or it could not
    // be written as one whole expression (reported).
    bool Send(bool wrapped, const Writer& write)
    {
        if (!m_link.SkipOwedAnswer() || m_link.m_abortRequested)
            return false;
        MLINK link = m_link.m_link;
        if (wrapped)
            MLPutFunction(link, "EvaluatePacket", 1);
        write(link);
        if (MLEndPacket(link))
            return true;
        m_link.ReportError();
        return false;
    }

private:
    KernelLink& m_link;
    WaitScope m_wait;
    bool m_cursor;
    bool m_oldModelBuilding;
    int m_exceptions;
};

// A request the editor makes by itself, for its scope: stopped at its
// deadline, and named in the status bar (when it has a status text) once it
// has run long enough to be noticed. Requests nest: a release that waited for
// a request may make one of its own as that request ends.
class KernelLink::OwnRequest {
public:
    using Clock = std::chrono::steady_clock;

    OwnRequest(KernelLink& link, std::chrono::milliseconds limit, const char* status = nullptr,
               const char* timedOutStatus = nullptr)
        : m_link(link), m_wait(&link), m_outer(link.m_own), m_started(Clock::now()), m_deadline(m_started + limit),
          m_status(status), m_timedOutStatus(timedOutStatus)
    {
        m_link.m_own = this;
    }
    ~OwnRequest()
    {
        m_link.m_own = m_outer;
        // A request the user stopped leaves "Aborted" (as its scope ends).
        if (m_noticed && !m_link.m_stopLatched)
            ShowStatus(m_timedOut && m_timedOutStatus ? m_timedOutStatus : "");
    }
    OwnRequest(const OwnRequest&) = delete;
    OwnRequest& operator=(const OwnRequest&) = delete;

    // While the request waits.
    void Check()
    {
        const Clock::time_point now = Clock::now();
        if (m_status && !m_noticed && now - m_started > kOwnRequestNotice) {
            m_noticed = true;
            ShowStatus(m_status);
        }
        if (!m_timedOut && now > m_deadline) {
            m_timedOut = true;
            m_link.RequestAbort();
        }
    }

private:
    void ShowStatus(const char* text)
    {
        if (m_link.m_questions)
            m_link.m_questions->RequestStatus(text);
    }

    KernelLink& m_link;
    // The scope of the whole request: the user's stop outlives the request
    // itself until the status above is settled.
    WaitScope m_wait;
    OwnRequest* m_outer;
    Clock::time_point m_started;
    Clock::time_point m_deadline;
    const char* m_status;
    const char* m_timedOutStatus;
    bool m_noticed = false;
    bool m_timedOut = false;
};

void KernelLink::CheckOwnRequest()
{
    if (m_own)
        m_own->Check();
}

ExprNode* KernelLink::NodeRequest(bool wrapped, bool cursor, const Writer& write, bool modelBuilding)
{
    m_lastKernelMessage.clear(); // a refused request has no message of the one before
    if (!Writable())
        return new ErrorNode;
    Request request(*this, cursor, modelBuilding);
    if (!request.Send(wrapped, write) || !AwaitAnswer(m_prefs.showWarnings))
        return NoAnswer();
    return ReadAnswer();
}

bool KernelLink::AwaitAnswer(bool showMessages)
{
    if (!WaitForReturn(showMessages))
        return false;
    if (!m_abortRequested)
        return true;
    // Asked to stop: the answer is not wanted, whatever it holds, and is
    // not even read (a late answer may be very large).
    if (MLINK link = m_link)
        MLNewPacket(link);
    return false;
}

ExprNode* KernelLink::NoAnswer() const
{
    if (m_abortRequested && m_link.load() && !m_endedAfterAbort)
        return new SymbolNode(std::string("$Aborted"));
    return new ErrorNode;
}

bool KernelLink::SkipOwedAnswer()
{
    while (m_answerOwed) {
        MLINK link = m_link;
        if (!link)
            return false;
        const int packet = MLNextPacket(link);
        if (packet == MLERRORPKT) {
            if (MLError(link) != MLEWAITSTOPPED)
                ReportError();
            else
                MLClearError(link);
            return false;
        }
        MLNewPacket(link);
        if (packet == MLRETURNPKT) {
            m_answerOwed = false;
        } else if (packet == MLCALLPKT) {
            // A question of the calculation given up: nobody is there to answer it.
            MLPutSymbol(link, "$Canceled");
            MLEndPacket(link);
        }
    }
    return true;
}

ExprNode* KernelLink::ReadAnswer()
{
    MLINK link = m_link;
    if (!link || MLGetType(link) == MLTKERROR) {
        ReportError();
        return new ErrorNode;
    }
    KernelReader reader(link);
    ExprNode* answer = reader.ReadExpr();
    if (reader.Failed()) {
        ReportError();
        if (MLINK still = m_link)
            MLNewPacket(still);
    }
    return answer;
}

void KernelLink::FinishRequest()
{
    m_busy = false;
    m_abortRequested = false;
    m_answerOnItsWay = false;
    m_givingUp = false;
    if (m_endedAfterAbort) {
        m_endedAfterAbort = false;
        RestartAfterAbort();
    }
    std::vector<std::function<void()>> work;
    work.swap(m_idleWork);
    for (auto& job : work)
        job();
}

void KernelLink::RestartAfterAbort()
{
    // The kernel could not stop its calculation and had to be ended: a new
    // one starts at once, so that the next calculation is answered. Its
    // session starts afresh, which the user is told.
    const bool restart = CanStartKernel();
    if (restart)
        StartKernel();
    Message(restart ? kRestartedText : kEndedText);
}

void KernelLink::DiscardRequest(const Writer& write)
{
    delete NodeRequest(true, false, write);
}

int KernelLink::ChoiceRequest(const Writer& write, KernelChoice* choices)
{
    choices[0] = KernelChoice{};
    choices[0].text.clear();
    if (!Writable())
        return 1;
    OwnRequest own(*this, kChoiceLimit, kSeekingChoices, kNoChoicesInTime);
    Request request(*this, false, false);
    if (!request.Send(true, write) || !AwaitAnswer(false))
        return 1;
    std::unique_ptr<ExprNode> answer(ReadAnswer());
    auto* list = dynamic_cast<CompositeNode*>(answer.get());
    if (!list || answer->GetTag() != TypeTag("lisN"))
        return 1;
    const int count = std::min(list->Count(), kMaxChoices);
    int i = 0;
    for (ExprNode* element = list->First(); element && i < count; element = element->next, ++i)
        choices[i] = ChoiceOf(element);
    return count;
}

// ---- the requests ----

ExprNode* KernelLink::StringEvaluate(const ExprNode* node)
{
    return NodeRequest(true, true, Call("VXStringEvaluate", {node}));
}

ExprNode* KernelLink::Evaluate(int mode, const ExprNode* node)
{
    return NodeRequest(true, true, [&](MLINK link) {
        MLPutFunction(link, "VXEvaluate", 2);
        MLPutShortInteger(link, mode);
        PutPackage(link, node, 0);
    });
}

ExprNode* KernelLink::Simplify(const ExprNode* node)
{
    return NodeRequest(true, true, Call("VXSimplify", {node}));
}

ExprNode* KernelLink::Shuffle(int position, const ExprNode* node)
{
    return NodeRequest(true, true, [&](MLINK link) {
        MLPutFunction(link, "VXShuffle", 2);
        MLPutShortInteger(link, position);
        PutPackage(link, node, 1);
    });
}

// The dragged expression of a drop goes with its pressed term marked, so
// that the kernel knows which side of an equation was taken.
ExprNode* KernelLink::Drop(int position, const ExprNode* a, const ExprNode* b)
{
    return NodeRequest(true, true, [&](MLINK link) {
        MLPutFunction(link, "VXDrop", 3);
        MLPutShortInteger(link, position);
        PutPackage(link, a, 0);
        PutPackage(link, b, 1);
    });
}

int KernelLink::EvaluateShuffle(const ExprNode* node, KernelChoice* choices)
{
    if (!node || node->IsSequence()) {
        choices[0] = KernelChoice{};
        return 1;
    }
    return ChoiceRequest([&](MLINK link) {
        MLPutFunction(link, "VXEvaluateShuffle", 1);
        PutPackage(link, node, 1);
    }, choices);
}

int KernelLink::EvaluateDrop(const ExprNode* a, const ExprNode* b, KernelChoice* choices)
{
    if (!a || !b || a->IsSequence() || b->IsSequence()) {
        choices[0] = KernelChoice{};
        return 1;
    }
    return ChoiceRequest(
        [&](MLINK link) {
            MLPutFunction(link, "VXEvaluateDrop", 2);
            PutPackage(link, a, 0);
            PutPackage(link, b, 1);
        },
        choices);
}

int KernelLink::EvaluateEval(const ExprNode* node, KernelChoice* choices)
{
    if (!node || node->IsSequence()) {
        choices[0] = KernelChoice{};
        return 1;
    }
    return ChoiceRequest([&](MLINK link) {
        MLPutFunction(link, "VXEvaluateEval", 1);
        PutPackage(link, node, 1);
    }, choices);
}

ExprNode* KernelLink::NextAfterMax(const ExprNode* list)
{
    if (!list || list->GetChildCount() == 0 || !Writable())
        return new IntegerNode(1);
    return NodeRequest(true, false, [&](MLINK link) {
        MLPutFunction(link, "Plus", 2);
        MLPutFunction(link, "Part", 2);
        MLPutFunction(link, "Sort", 2);
        PutPackage(link, list, 0);
        MLPutSymbol(link, "Greater");
        MLPutLongInteger(link, 1);
        MLPutLongInteger(link, 1);
    });
}

void KernelLink::SetConstantAttribute(char letter, bool set)
{
    // The letter goes under the spelling a typed letter of the document has
    // on the wire (e as E, E as capE, p as vxP), so that the kernel marks the
    // symbol the calculations send.
    const char text[2] = {letter, '\0'};
    int builtin = TheNameTable().Find(text);
    SymbolNode symbol = builtin > 0 ? SymbolNode(builtin) : SymbolNode(std::string(text));
    DiscardRequest([&](MLINK link) {
        MLPutFunction(link, set ? "SetAttributes" : "ClearAttributes", 2);
        symbol.PutPackageForm(link, 0);
        MLPutSymbol(link, "Constant");
    });
}

void KernelLink::SetSessionPrefs()
{
    SymbolNode defaultVariable(m_prefs.defaultVariable);
    SymbolNode transformVariable(m_prefs.transformVariable);
    m_prefs.Apply();
    DiscardRequest([&](MLINK link) {
        MLPutFunction(link, "VXSetSessionPrefs", 4);
        defaultVariable.PutPackageForm(link, 0);
        transformVariable.PutPackageForm(link, 0);
        IntegerNode(m_prefs.precision).PutPackageForm(link, 0);
        IntegerNode(m_prefs.simplificationLevel).PutPackageForm(link, 0);
    });
}

void KernelLink::SendStartupPrefs()
{
    TermOrdering ordering;
    ExprNode* priorities = ordering.Load() ? ordering.ToKernelList() : nullptr;
    m_constantsToBack = priorities ? ordering.constantsToBack : true;
    // The start-up worker leaves the settings the nodes read to the
    // user-interface thread (ApplyNodeSettings).
    if (!OnStartupWorker())
        ApplyNodeSettings();
    SymbolNode defaultVariable(m_prefs.defaultVariable);
    SymbolNode transformVariable(m_prefs.transformVariable);
    DiscardRequest([&](MLINK link) {
        MLPutFunction(link, "VXSetSessionPrefs", 5);
        defaultVariable.PutPackageForm(link, 0);
        transformVariable.PutPackageForm(link, 0);
        IntegerNode(m_prefs.precision).PutPackageForm(link, 0);
        if (priorities)
            priorities->PutPackageForm(link, 0);
        else
            MLPutSymbol(link, "vxDefaultSortPriorities");
        IntegerNode(m_prefs.simplificationLevel).PutPackageForm(link, 0);
    });
    delete priorities;
}

void KernelLink::ApplyNodeSettings()
{
    m_prefs.Apply();
    NodeSettings::Get().termOrdering = m_constantsToBack;
    NodeSettings::Get().modelBuilding = false;
}

void KernelLink::SetSortPriorities(ExprNode* list, bool constantsToBack)
{
    if (list)
        DiscardRequest(Call("VXSetSortPriorities", {list}));
    delete list;
    m_constantsToBack = constantsToBack;
    NodeSettings::Get().termOrdering = constantsToBack;
}

ExprNode* KernelLink::ResetSortPriorities(bool useDefault)
{
    if (useDefault) {
        m_constantsToBack = true;
        NodeSettings::Get().termOrdering = true;
    }
    return NodeRequest(true, false, [&](MLINK link) {
        MLPutSymbol(link, useDefault ? "vxDefaultSortPriorities" : "vxSortPriorities");
    });
}

std::string KernelLink::ToStandardFormString(const ExprNode* node)
{
    return StandardFormText(node, true);
}

std::string KernelLink::ToStandardFormText(const ExprNode* node)
{
    return StandardFormText(node, false);
}

// A comma row is a sequence, whose box text is its elements' joined: each is
// asked for on its own (the row as one expression would read as a call of
// the sequence's head).
std::string KernelLink::SequenceText(const CompositeNode& row, bool programCodes)
{
    std::string joined;
    for (const ExprNode* item = row.First(); item; item = item->next) {
        const std::string text = StandardFormText(item, programCodes);
        if (text == kErrorText)
            return kErrorText;
        if (item != row.First())
            joined += ", ";
        joined += text.substr(2, text.size() - 4);
    }
    return "\\(" + joined + "\\)";
}

std::string KernelLink::StandardFormText(const ExprNode* node, bool programCodes)
{
    if (auto* row = node && node->IsSequence() ? dynamic_cast<const CompositeNode*>(node) : nullptr)
        return SequenceText(*row, programCodes);
    if (!Writable())
        return kErrorText;
    std::string text;
    {
        Request request(*this, false, false);
        const bool sent = request.Send(false, [&](MLINK link) {
            MLPutFunction(link, "ToString", 2);
            MLPutFunction(link, "Hold", 1);
            PutPlain(link, node);
            MLPutSymbol(link, "StandardForm");
        });
        text = sent && AwaitAnswer(m_prefs.showWarnings) ? ReadText(programCodes) : kErrorText;
    }
    // The kernel answers \!\(Hold[box text]\): keep the box text. Any other
    // answer is not a formula's text and is refused as a whole.
    static constexpr std::string_view kOpen = "\\!\\(Hold[";
    static constexpr std::string_view kClose = "]\\)";
    std::string_view view = text;
    if (view.size() < kOpen.size() + kClose.size() || !view.starts_with(kOpen) || !view.ends_with(kClose))
        return kErrorText;
    std::string inner(view.substr(kOpen.size(), view.size() - kOpen.size() - kClose.size()));
    if (inner.starts_with("\\(") && inner.ends_with("\\)") && inner.size() >= 4)
        return inner;
    return "\\(" + inner + "\\)";
}

std::string KernelLink::ReadText(bool programCodes)
{
    MLINK link = m_link;
    int type = link ? MLGetType(link) : MLTKERROR;
    if (type == MLTKSTR) {
        const char* text = nullptr;
        if (!MLGetString(link, &text)) {
            ReportError();
            return kErrorText;
        }
        std::string result = programCodes ? MathLinkCharConv::ReadLinkString(std::string_view(text)) : text;
        MLDisownString(link, text);
        return result;
    }
    if (type == MLTKSYM) {
        ExprNode* node = ReadKernelSymbol(link);
        const SymbolNode* symbol = AsSymbol(node);
        std::string result = symbol ? symbol->Name() : kErrorText;
        delete node;
        return result;
    }
    if (type == MLTKERROR)
        ReportError();
    else
        MLNewPacket(link);
    return kErrorText;
}

// ---- plots and drawings ----

ExprNode* KernelLink::ComputePlot(const ExprNode* node)
{
    ExprNode* answer = NodeRequest(true, true, Call("VXComputePlot", {node}));
    const SymbolNode* symbol = AsSymbol(answer);
    if (symbol && !symbol->IsBuiltin() && symbol->FreeText() == "$Canceled") {
        delete answer;
        return nullptr;
    }
    return answer;
}

ExprNode* KernelLink::ResolvePlot(const ExprNode* a, const ExprNode* b)
{
    return NodeRequest(true, false, Call("VXResolvePlot", {a, b}));
}

ExprNode* KernelLink::PlotDeficit(const ExprNode* a, const ExprNode* b, const ExprNode* c, const ExprNode* d)
{
    return NodeRequest(true, false, Call("VXPlotDeficit", {a, b, c, d}));
}

ExprNode* KernelLink::VariableCheck(const ExprNode* a, const ExprNode* b, const ExprNode* c)
{
    return NodeRequest(true, false, Call("VXVariableCheck", {a, b, c}));
}

ExprNode* KernelLink::GetPlotVars(const ExprNode* a, const ExprNode* b, const ExprNode* c)
{
    return NodeRequest(true, false, Call("VXGetPlotVars", {a, b, c}));
}

ExprNode* KernelLink::FinalizeModel(const ExprNode* a)
{
    return NodeRequest(true, false, Call("VXFinalizeModel", {a}));
}

ExprNode* KernelLink::CheckDeficit(const ExprNode* a, const ExprNode* b)
{
    return NodeRequest(true, false, Call("VXCheckDeficit", {a, b}));
}

ExprNode* KernelLink::ResolveDeficits(const ExprNode* a, const ExprNode* b, const ExprNode* c)
{
    return NodeRequest(true, false, Call("VXResolveDeficits", {a, b, c}));
}

ExprNode* KernelLink::BuildModelFromCore(const ExprNode* a, const ExprNode* b)
{
    return NodeRequest(false, false, PlainCall("QVBuildModelFromCore", {a, b}), true);
}

ExprNode* KernelLink::BuildModelFromVars(const ExprNode* a, const ExprNode* b)
{
    return NodeRequest(false, false, PlainCall("QVBuildModelFromVars", {a, b}), true);
}

ExprNode* KernelLink::SolveSystem(const ExprNode* a, const ExprNode* b, const ExprNode* c)
{
    if (b) {
        OwnRequest step(*this, m_dragStepLimit);
        return NodeRequest(false, false, PlainCall("QVConstrainedMin", {a, b, c}), true);
    }
    return NodeRequest(false, false, PlainCall("QVSolveSystem", {a}), true);
}
