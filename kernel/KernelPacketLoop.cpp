// The packet loop of a request: the kernel's questions, its messages, and
// the link's errors.
#include "kernel/KernelLink.h"

#include "foundation/Str255.h"
#include "kernel/CompositeNode.h"
#include "kernel/KernelQuestions.h"
#include "kernel/KernelReader.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/MathLinkCharConv.h"

#include <csignal>
#include <memory>
#include <optional>
#include <sys/types.h>
#include <vector>

namespace {

constexpr int kQuestionCount = 7;
constexpr std::size_t kMaxShownText = 255;

std::string TextOf(ExprNode* node)
{
    if (!node)
        return {};
    if (node->GetTag() == TypeTag("strN"))
        return static_cast<StringNode*>(node)->Text().substr(0, kMaxShownText);
    Str255 text;
    node->GetText(text);
    return std::string(text.GetPtrAt(0), std::size_t(text.GetLength()));
}

// The children of a list node, taken out of it (the list is left empty).
std::vector<std::unique_ptr<ExprNode>> TakeItems(ExprNode* node)
{
    std::vector<std::unique_ptr<ExprNode>> items;
    auto* list = dynamic_cast<ListNode*>(node);
    if (!list)
        return items;
    ExprNode* child = list->DetachChildren();
    while (child) {
        ExprNode* next = child->next;
        child->next = nullptr;
        items.emplace_back(child);
        child = next;
    }
    return items;
}

// "Syntax::sntx: The code ..." without the kernel's name for the message.
std::string WithoutMessageName(const std::string& text)
{
    const std::size_t name = text.find("::");
    const std::size_t colon = text.find(": ");
    if (name == std::string::npos || colon == std::string::npos || name > colon)
        return text;
    return text.substr(colon + 2);
}

std::vector<std::string> Texts(const std::vector<std::unique_ptr<ExprNode>>& items)
{
    std::vector<std::string> texts;
    for (const auto& item : items)
        texts.push_back(TextOf(item.get()));
    return texts;
}

} // namespace

bool KernelLink::WaitForReturn(bool showMessages)
{
    MLINK link = m_link;
    if (!link)
        return false;
    int packet = MLNextPacket(link);
    for (;;) {
        link = m_link;
        if (!link)
            return false;
        if (packet == MLRETURNPKT)
            return true;
        if (packet == MLERRORPKT) {
            if (MLError(link) != MLEWAITSTOPPED) {
                ReportError();
                return false;
            }
            // The wait was given up: the answer is still owed, and dropped
            // when it comes.
            MLClearError(link);
            m_answerOwed = true;
            return false;
        }
        if (packet == MLCALLPKT) {
            int number = 0;
            if (!MLGetInteger(link, &number)) {
                ReportError();
                return false;
            }
            AnswerQuestion(number);
            if (!m_link.load())
                return false;
            // A kernel stopping its computation watches it afresh once
            // the reply has come: its silence is counted from here.
            m_lastWord = std::chrono::steady_clock::now();
        } else if (packet == MLMESSAGEPKT) {
            ReadKernelMessage(packet, showMessages);
            if (packet != MLTEXTPKT)
                continue;
        }
        if (MLINK still = m_link) {
            MLNewPacket(still);
            packet = MLNextPacket(still);
        }
    }
}

void KernelLink::ReadKernelMessage(int& packet, bool show)
{
    MLINK link = m_link;
    const char* symbol = nullptr;
    const char* tag = nullptr;
    if (!MLGetSymbol(link, &symbol))
        ReportError();
    if (!MLGetString(link, &tag))
        ReportError();
    MLNewPacket(link);
    packet = MLNextPacket(link);
    std::string text;
    bool hasText = false;
    if (packet == MLTEXTPKT) {
        const char* raw = nullptr;
        if (MLGetString(link, &raw)) {
            text = MathLinkCharConv::ReadLinkString(std::string_view(raw));
            hasText = true;
            MLDisownString(link, raw);
        } else {
            ReportError();
        }
    }
    if (symbol)
        MLDisownSymbol(link, symbol);
    if (tag)
        MLDisownString(link, tag);
    if (hasText)
        m_lastKernelMessage = WithoutMessageName(text);
    if (show)
        Message("The kernel returned an error: " + (hasText ? text : std::string("General kernel link error.")));
}

void KernelLink::AnswerQuestion(int number)
{
    MLINK link = m_link;
    if (number < 1 || number > kQuestionCount || number == 4) {
        MLEndPacket(link);
        return;
    }
    std::unique_ptr<ExprNode> argument(ReadKernelExpr(link));
    std::unique_ptr<ExprNode> answer;
    int mode = 0;
    KernelQuestions* q = m_questions;
    auto* list = dynamic_cast<CompositeNode*>(argument.get());
    auto element = [&](int i) { return list && argument->GetTag() == TypeTag("lisN") ? list->ChildAt(i) : nullptr; };
    switch (number) {
    case 1:
    case 2:
        mode = number == 2 ? 2 : 0;
        if (q)
            answer.reset(q->AskExpression(TextOf(element(1)), element(2), number == 2));
        break;
    case 3: {
        std::vector<std::unique_ptr<ExprNode>> choices = TakeItems(element(2));
        int chosen = q && !choices.empty() ? q->ChooseOne(TextOf(element(1)), Texts(choices)) : -1;
        if (chosen >= 0 && chosen < int(choices.size()))
            answer = std::move(choices[std::size_t(chosen)]);
        break;
    }
    case 5: {
        std::vector<std::unique_ptr<ExprNode>> items = TakeItems(element(4));
        std::size_t unselectedCount = items.size();
        for (auto& item : TakeItems(element(5)))
            items.push_back(std::move(item));
        std::vector<std::string> texts = Texts(items);
        std::vector<std::string> left(texts.begin(), texts.begin() + long(unselectedCount));
        std::vector<std::string> right(texts.begin() + long(unselectedCount), texts.end());
        std::optional<std::vector<int>> picked;
        if (q)
            picked = q->ChooseSubset(TextOf(element(1)), TextOf(element(2)), TextOf(element(3)), left, right);
        if (picked) {
            auto* result = new ListNode;
            for (int index : *picked)
                if (index >= 0 && index < int(items.size()) && items[std::size_t(index)])
                    result->AppendChild(items[std::size_t(index)].release());
            answer.reset(result);
        }
        break;
    }
    case 6:
        Message(TextOf(argument.get()));
        answer.reset(new SymbolNode(std::string("$Ignored")));
        break;
    case 7:
        answer.reset(new SymbolNode(std::string(q && q->AskYesNo(TextOf(argument.get())) ? "True" : "False")));
        break;
    }
    link = m_link;
    if (!link)
        return;
    if (answer)
        answer->PutPackageForm(link, mode);
    else
        MLPutSymbol(link, "$Canceled");
    MLEndPacket(link);
}

ExprNode* KernelLink::AskKernelExpression(const std::string& prompt)
{
    return m_questions ? m_questions->AskExpression(prompt, nullptr, false) : nullptr;
}

void KernelLink::YieldWhileWaiting()
{
    if (m_starting) {
        // Cancelling a start-up ends a kernel that is still loading.
        if (!m_running)
            if (pid_t pid = MLProcessId(m_link); pid > 0)
                ::kill(pid, SIGKILL);
        return;
    }
    if (m_questions)
        m_questions->Yield();
    if (m_givingUp) {
        MLStopWaiting(m_link);
        return;
    }
    CheckOwnRequest();
    if (m_abortRequested && !m_endedAfterAbort)
        WatchStoppingKernel();
}

// The kernel decides itself whether a computation it was asked to stop can
// be stopped: it says at once that it is stopping one (or that it has none to
// stop), says so again every tenth of a second, and ends itself when the
// computation goes on. Only a kernel that falls silent is ended here: it is
// hung, and nothing of its own can end it. One that has nothing to stop has
// its answer on the way (or has none to give): the wait for it ends after
// the grace, and the answer is dropped when it comes.
void KernelLink::WatchStoppingKernel()
{
    MLINK link = m_link;
    const auto now = std::chrono::steady_clock::now();
    int message = 0;
    while (MLGetMessage(link, &message)) {
        if (message != MLSTOPPINGMESSAGE && message != MLNOTHINGTOSTOPMESSAGE)
            continue;
        m_lastWord = now;
        m_awaitingWord = message == MLSTOPPINGMESSAGE;
        m_answerOnItsWay = message == MLNOTHINGTOSTOPMESSAGE;
    }
    if (now - m_lastWord <= kAbortGrace)
        return;
    if (m_answerOnItsWay) {
        MLStopWaiting(link);
        return;
    }
    if (!m_awaitingWord)
        return;
    if (pid_t pid = MLProcessId(link); pid > 0) {
        m_endedAfterAbort = true;
        ::kill(pid, SIGKILL);
    }
}

void KernelLink::ReportError()
{
    MLINK link = m_link;
    m_lastError = MLError(link);
    if (m_lastError == MLEOK || !link)
        return;
    std::string text = MLErrorMessage(link);
    MLClearError(link);
    bool closed = m_lastError == MLECLOSED || m_lastError == MLEBADDATA || m_lastError == MLEDEAD;
    if (closed && m_starting)
        return;
    // A kernel asked to stop may end itself when its calculation cannot be
    // stopped: as if the link had ended it.
    if (closed && m_abortRequested)
        m_endedAfterAbort = true;
    if (closed) {
        Disconnect();
        if (m_questions)
            m_questions->ConstantsPalette(false);
    }
    if (m_starting || m_endedAfterAbort)
        return;
    if (closed)
        Message("The kernel link returned an error message: " + text +
                ". The kernel has stopped; start it again from the Kernel menu.");
    else
        Message("The kernel link returned an error message: " + text);
}

void KernelLink::Disconnect()
{
    CloseLink();
    m_busy = false;
    m_ready = false;
}

void KernelLink::CloseLink()
{
    m_answerOwed = false;
    MLINK link = m_link.exchange(nullptr);
    if (link)
        MLClose(link);
    if (m_environment) {
        MLDeinitialize(m_environment);
        m_environment = nullptr;
    }
}
