#include "mathlink/MathLink.h"

#include "mathlink/Expr.h"
#include "mathlink/LinkLaunch.h"
#include "mathlink/SocketChannel.h"
#include "mathlink/WireFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <utility>
#include <unistd.h>
#include <deque>
#include <vector>

struct MLEnvironmentObject {
    bool alive = true;
};

struct MLLinkObject {
    MLENV environment = nullptr;
    wire::LaunchedKernel kernel;
    bool connected = false;
    bool closed = false;        // by either side; every later call fails
    int error = MLEOK;
    std::string errorText;
    wire::PacketWriter out;
    wire::PacketReader in;
    int pendingNext = MLTKERROR;   // token type announced by MLPutNext
    bool putFailed = false;        // a put of the packet being written failed
    wire::IncomingPacket incoming; // the packet being received
    bool stopWaiting = false;      // the waiting read gives up (MLStopWaiting)
    uint32_t packetsSent = 0;
    std::string control;                // a message from the kernel not yet whole
    std::vector<std::unique_ptr<char[]>> lent;   // texts handed out by the getters
    std::function<void()> yield;
    bool loopback = false;              // packets ended on the link come back on it
    std::deque<std::string> looped;
};

namespace {

constexpr int kConnectTimeoutMs = 30000;
constexpr int kCloseGraceMs = 1000;

const char* messageFor(int code)
{
    switch (code) {
    case MLEOK: return "no error";
    case MLEDEAD: return "the link is not open";
    case MLEGETSEQ: return "the data on the link does not match what was asked for";
    case MLEPUTSEQ: return "an expression was written out of sequence or left incomplete";
    case MLEBADDATA: return "the kernel sent malformed data";
    case MLELAUNCH: return "the kernel program could not be started";
    case MLECLOSED: return "the kernel closed the link";
    case MLECONNECT: return "the kernel did not answer the connection";
    case MLEBADARGS: return "malformed link arguments";
    case MLEWAITSTOPPED: return "the wait for the kernel was given up";
    default: return "unknown link error";
    }
}

// Closed links and ended environments are kept until the next open or
// initialisation, so that a caller still unwinding a request can go on calling
// through its handle and get failures instead of touching freed memory.
struct Graveyard {
    std::mutex mutex;
    std::vector<std::unique_ptr<MLLinkObject>> links;
    std::vector<std::unique_ptr<MLEnvironmentObject>> environments;
    std::vector<MLLinkObject*> open;
    std::vector<MLEnvironmentObject*> live;
};

Graveyard& graveyard()
{
    static Graveyard instance;
    return instance;
}

int fail(MLINK link, int code, std::string text = {})
{
    link->error = code;
    link->errorText = text.empty() ? messageFor(code) : std::move(text);
    return 0;
}

void markClosed(MLINK link)
{
    if (link->closed)
        return;
    link->closed = true;
    if (link->kernel.dataFd >= 0)
        ::close(link->kernel.dataFd);
    if (link->kernel.controlFd >= 0)
        ::close(link->kernel.controlFd);
    link->kernel.dataFd = link->kernel.controlFd = -1;
    link->in.clear();
    link->out.clear();
    link->control.clear();
    link->incoming.clear();
}

int closedByPeer(MLINK link)
{
    markClosed(link);
    return fail(link, MLECLOSED);
}

// Usable for I/O: open, connected (the greeting is exchanged on first use when
// MLConnect was not called).
bool usable(MLINK link)
{
    if (!link)
        return false;
    if (link->closed) {
        if (link->error == MLEOK)
            fail(link, MLECLOSED);
        return false;
    }
    if (!link->connected)
        return MLConnect(link) != 0;
    return true;
}

// A failed put spoils the packet: every later put of it fails too, and
// MLEndPacket sends nothing, so that no part of a malformed expression (nor
// an empty packet in its place) reaches the kernel.
int putFailure(MLINK link)
{
    link->out.clear();
    link->pendingNext = MLTKERROR;
    link->putFailed = true;
    return fail(link, MLEPUTSEQ);
}

// Usable for writing: usable, and no put of the packet has failed.
bool writable(MLINK link)
{
    if (!usable(link))
        return false;
    if (!link->putFailed)
        return true;
    fail(link, MLEPUTSEQ);
    return false;
}

// Waits for the kernel, giving up when MLStopWaiting is called meanwhile.
wire::YieldHook waitHook(MLINK link)
{
    if (!link->yield)
        return {};
    return [link] {
        link->yield();
        return !std::exchange(link->stopWaiting, false);
    };
}

int putAtom(MLINK link, int type, std::string_view text)
{
    if (!writable(link))
        return 0;
    return link->out.putAtom(type, text) ? 1 : putFailure(link);
}

int putInteger(MLINK link, long long value)
{
    return putAtom(link, MLTKINT, std::to_string(value));
}

const char* lend(MLINK link, const std::string& text)
{
    auto copy = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(copy.get(), text.data(), text.size() + 1);
    link->lent.push_back(std::move(copy));
    return link->lent.back().get();
}

void disown(MLINK link, const char* text)
{
    if (!link || !text)
        return;
    auto it = std::find_if(link->lent.begin(), link->lent.end(), [text](const auto& p) { return p.get() == text; });
    if (it != link->lent.end())
        link->lent.erase(it);
}

int getText(MLINK link, int type, const char** text)
{
    if (text)
        *text = nullptr;
    if (!usable(link) || !text)
        return 0;
    std::string value;
    if (!link->in.getAtom(type, value))
        return fail(link, MLEGETSEQ);
    *text = lend(link, value);
    return 1;
}

int packetKind(const std::string& head)
{
    static const std::pair<const char*, int> kinds[] = {
        {"ReturnPacket", MLRETURNPKT}, {"CallPacket", MLCALLPKT}, {"MessagePacket", MLMESSAGEPKT},
        {"TextPacket", MLTEXTPKT}, {"SuspendPacket", MLSUSPENDPKT}};
    for (const auto& [name, kind] : kinds) {
        if (head == name)
            return kind;
    }
    return MLOTHERPKT;
}

} // namespace

MLENV MLInitialize()
{
    Graveyard& g = graveyard();
    std::lock_guard lock(g.mutex);
    g.environments.clear();
    auto env = std::make_unique<MLEnvironmentObject>();
    g.live.push_back(env.get());
    return env.release();
}

void MLDeinitialize(MLENV env)
{
    Graveyard& g = graveyard();
    std::lock_guard lock(g.mutex);
    auto it = std::find(g.live.begin(), g.live.end(), env);
    if (it == g.live.end())
        return;
    g.live.erase(it);
    env->alive = false;
    g.environments.emplace_back(env);
}

MLINK MLOpenString(MLENV env, const char* arguments, int* error)
{
    int dummy = 0;
    int& err = error ? *error : dummy;
    {
        Graveyard& g = graveyard();
        std::lock_guard lock(g.mutex);
        g.links.clear();
        if (!env || std::find(g.live.begin(), g.live.end(), env) == g.live.end()) {
            err = MLEDEAD;
            return nullptr;
        }
    }
    wire::LaunchRequest request;
    try {
        request = wire::parseOpenString(arguments ? arguments : "");
    } catch (const std::invalid_argument&) {
        err = MLEBADARGS;
        return nullptr;
    }
    if (!request.launch || request.name.empty()) {
        err = MLEBADARGS;
        return nullptr;
    }
    std::string program = wire::resolveKernelProgram(request.name);
    auto link = std::make_unique<MLLinkObject>();
    std::string why;
    if (program.empty() || !wire::launchKernel(program, link->kernel, why)) {
        err = MLELAUNCH;
        return nullptr;
    }
    link->environment = env;
    err = MLEOK;
    Graveyard& g = graveyard();
    std::lock_guard lock(g.mutex);
    g.open.push_back(link.get());
    return link.release();
}

MLINK MLLoopbackOpen(MLENV env, int* error)
{
    int dummy = 0;
    int& err = error ? *error : dummy;
    Graveyard& g = graveyard();
    std::lock_guard lock(g.mutex);
    if (!env || std::find(g.live.begin(), g.live.end(), env) == g.live.end()) {
        err = MLEDEAD;
        return nullptr;
    }
    auto link = std::make_unique<MLLinkObject>();
    link->environment = env;
    link->connected = true;
    link->loopback = true;
    err = MLEOK;
    g.open.push_back(link.get());
    return link.release();
}

int MLLoopbackPutPacket(MLINK link, const char* bytes, int byteCount)
{
    if (!usable(link) || !link->loopback || byteCount < 0 || (!bytes && byteCount > 0))
        return 0;
    link->looped.emplace_back(bytes ? bytes : "", std::size_t(byteCount));
    return 1;
}

int MLConnect(MLINK link)
{
    if (!link || link->closed)
        return link ? fail(link, link->error ? link->error : MLEDEAD) : 0;
    if (link->connected)
        return 1;
    wire::YieldHook yield;
    if (link->yield)
        yield = [link] {
            link->yield();
            return true;
        };
    if (!wire::exchangeGreeting(link->kernel.dataFd, yield, kConnectTimeoutMs)) {
        markClosed(link);
        return fail(link, MLECONNECT);
    }
    link->connected = true;
    return 1;
}

void MLClose(MLINK link)
{
    Graveyard& g = graveyard();
    {
        std::lock_guard lock(g.mutex);
        auto it = std::find(g.open.begin(), g.open.end(), link);
        if (it == g.open.end())
            return;
        g.open.erase(it);
    }
    bool wasClosed = link->closed;
    markClosed(link);
    if (!wasClosed)
        fail(link, MLEDEAD);
    wire::reapKernel(link->kernel.pid, kCloseGraceMs);
    link->kernel.pid = -1;
    std::lock_guard lock(g.mutex);
    g.links.emplace_back(link);
}

int MLError(MLINK link)
{
    return link ? link->error : MLEDEAD;
}

const char* MLErrorMessage(MLINK link)
{
    return link ? link->errorText.c_str() : messageFor(MLEDEAD);
}

int MLClearError(MLINK link)
{
    if (!link)
        return 0;
    link->error = MLEOK;
    link->errorText.clear();
    link->putFailed = false;
    return link->closed ? 0 : 1;
}

int MLPutFunction(MLINK link, const char* head, int argCount)
{
    if (!writable(link))
        return 0;
    if (!head || argCount < 0 || !link->out.putFunction(uint32_t(argCount)) || !link->out.putAtom(MLTKSYM, head))
        return putFailure(link);
    return 1;
}

int MLPutSymbol(MLINK link, const char* name)
{
    if (link && !name)
        return putFailure(link);
    return putAtom(link, MLTKSYM, name ? name : "");
}

int MLPutString(MLINK link, const char* text)
{
    if (link && !text)
        return putFailure(link);
    return putAtom(link, MLTKSTR, text ? text : "");
}

int MLPutShortInteger(MLINK link, int value)
{
    return putInteger(link, static_cast<short>(value));
}

int MLPutInteger(MLINK link, int value)
{
    return putInteger(link, value);
}

int MLPutLongInteger(MLINK link, int32_t value)
{
    return putInteger(link, value);
}

int MLPutDouble(MLINK link, double value)
{
    if (!writable(link))
        return 0;
    // Values with no real text travel as the symbols the kernel uses for them.
    if (std::isnan(value))
        return MLPutSymbol(link, "Indeterminate");
    if (std::isinf(value)) {
        if (!MLPutFunction(link, "DirectedInfinity", 1))
            return 0;
        return MLPutInteger(link, value > 0 ? 1 : -1);
    }
    return putAtom(link, MLTKREAL, wire::formatReal(value));
}

int MLPutNext(MLINK link, int tokenType)
{
    if (!writable(link))
        return 0;
    if (tokenType != MLTKFUNC && !wire::isAtomType(tokenType))
        return putFailure(link);
    link->pendingNext = tokenType;
    return 1;
}

int MLPutArgCount(MLINK link, int argCount)
{
    if (!writable(link))
        return 0;
    bool ok = link->pendingNext == MLTKFUNC && argCount >= 0 && link->out.putFunction(uint32_t(argCount));
    link->pendingNext = MLTKERROR;
    return ok ? 1 : putFailure(link);
}

int MLPutSize(MLINK link, int byteCount)
{
    if (!writable(link))
        return 0;
    bool ok = wire::isAtomType(link->pendingNext) && byteCount >= 0
              && link->out.beginAtom(link->pendingNext, uint32_t(byteCount));
    link->pendingNext = MLTKERROR;
    return ok ? 1 : putFailure(link);
}

int MLPutData(MLINK link, const char* bytes, int byteCount)
{
    if (!writable(link))
        return 0;
    if (byteCount < 0 || (!bytes && byteCount > 0) || !link->out.putAtomBytes(std::string_view(bytes ? bytes : "", std::size_t(byteCount))))
        return putFailure(link);
    return 1;
}

int MLEndPacket(MLINK link)
{
    if (!usable(link))
        return 0;
    if (std::exchange(link->putFailed, false)) {
        link->out.clear();
        return fail(link, MLEPUTSEQ);
    }
    if (!link->out.complete() || link->pendingNext != MLTKERROR) {
        putFailure(link);
        link->putFailed = false;
        return 0;
    }
    if (link->loopback) {
        link->looped.push_back(link->out.bytes());
        link->out.clear();
        ++link->packetsSent;
        return 1;
    }
    bool sent = wire::sendPacket(link->kernel.dataFd, link->out.bytes());
    link->out.clear();
    if (!sent)
        return closedByPeer(link);
    ++link->packetsSent;
    return 1;
}

int MLClearPutPacket(MLINK link)
{
    if (!link)
        return 0;
    link->out.clear();
    link->pendingNext = MLTKERROR;
    link->putFailed = false;
    return 1;
}

int MLPutMessage(MLINK link, int message)
{
    if (!usable(link))
        return 0;
    if (link->loopback)
        return 1;
    std::string bytes;
    wire::appendU32(bytes, uint32_t(message));
    wire::appendU32(bytes, link->packetsSent);
    return wire::sendAll(link->kernel.controlFd, bytes) ? 1 : closedByPeer(link);
}

int MLGetMessage(MLINK link, int* message)
{
    if (!message || !link || link->closed || link->loopback || link->kernel.controlFd < 0)
        return 0;
    for (;;) {
        char bytes[wire::kControlMessageBytes];
        const std::size_t missing = sizeof bytes - link->control.size();
        const ssize_t n = ::recv(link->kernel.controlFd, bytes, missing, MSG_DONTWAIT);
        if (n <= 0)
            return 0;
        link->control.append(bytes, std::size_t(n));
        if (link->control.size() < sizeof bytes)
            continue;
        const uint32_t code = wire::readU32(link->control.data());
        const uint32_t serial = wire::readU32(link->control.data() + 4);
        link->control.clear();
        if (serial == link->packetsSent) {
            *message = int(code);
            return 1;
        }
    }
}

int MLNextPacket(MLINK link)
{
    if (!usable(link))
        return MLERRORPKT;
    link->in.clear();
    link->stopWaiting = false;
    std::string packet;
    if (link->loopback) {
        if (link->looped.empty())
            return fail(link, MLEGETSEQ, "no packet is waiting on the loopback link");
        packet = std::move(link->looped.front());
        link->looped.pop_front();
    } else {
        const wire::ReadStatus status = wire::receivePacket(link->kernel.dataFd, link->incoming, waitHook(link));
        if (status == wire::ReadStatus::closed)
            return closedByPeer(link);
        if (status == wire::ReadStatus::failed) {
            markClosed(link);
            return fail(link, MLEBADDATA);
        }
        if (status == wire::ReadStatus::stopped)
            return fail(link, MLEWAITSTOPPED);
        packet = std::move(link->incoming.payload);
        link->incoming.clear();
    }
    link->in.reset(std::move(packet));
    if (link->in.peekType() != MLTKFUNC)
        return MLOTHERPKT;
    // Look at the head without consuming, and consume it only for a known kind.
    wire::PacketReader::Mark start = link->in.mark();
    uint32_t count = 0;
    std::string head;
    int kind = link->in.getArgCount(count) && link->in.getAtom(MLTKSYM, head) ? packetKind(head) : MLOTHERPKT;
    if (kind == MLOTHERPKT)
        link->in.resetTo(start);
    return kind;
}

int MLNewPacket(MLINK link)
{
    if (!usable(link))
        return 0;
    link->in.clear();
    return 1;
}

int MLGetType(MLINK link)
{
    if (!usable(link))
        return MLTKERROR;
    int type = link->in.peekType();
    if (type == MLTKERROR)
        fail(link, MLEGETSEQ);
    return type;
}

int MLGetNext(MLINK link)
{
    return MLGetType(link);
}

int MLGetInteger(MLINK link, int* value)
{
    if (!usable(link) || !value)
        return 0;
    // Undone when the digits do not fit; marking copies no bytes.
    wire::PacketReader::Mark start = link->in.mark();
    std::string digits;
    if (!link->in.getAtom(MLTKINT, digits))
        return fail(link, MLEGETSEQ);
    std::string_view text(digits);
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int parsed = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size()) {
        link->in.resetTo(start);
        return fail(link, MLEGETSEQ, "the integer does not fit the value asked for");
    }
    *value = parsed;
    return 1;
}

int MLGetArgCount(MLINK link, int* count)
{
    if (!usable(link) || !count)
        return 0;
    wire::PacketReader::Mark start = link->in.mark();
    uint32_t n = 0;
    if (!link->in.getArgCount(n))
        return fail(link, MLEGETSEQ);
    if (n > uint32_t(INT32_MAX)) {
        link->in.resetTo(start);
        return fail(link, MLEGETSEQ);
    }
    *count = int(n);
    return 1;
}

int MLGetSymbol(MLINK link, const char** name)
{
    return getText(link, MLTKSYM, name);
}

void MLDisownSymbol(MLINK link, const char* name)
{
    disown(link, name);
}

int MLGetString(MLINK link, const char** text)
{
    return getText(link, MLTKSTR, text);
}

void MLDisownString(MLINK link, const char* text)
{
    disown(link, text);
}

int MLBytesToGet(MLINK link, int* count)
{
    if (!usable(link) || !count)
        return 0;
    uint32_t n = 0;
    if (!link->in.atomBytesLeft(n))
        return fail(link, MLEGETSEQ);
    *count = int(n);
    return 1;
}

int MLGetData(MLINK link, char* buffer, int capacity, int* taken)
{
    if (!usable(link) || !buffer || capacity < 0 || !taken)
        return 0;
    uint32_t got = 0;
    if (!link->in.getAtomBytes(buffer, uint32_t(capacity), got))
        return fail(link, MLEGETSEQ);
    *taken = int(got);
    return 1;
}

int MLStopWaiting(MLINK link)
{
    if (!link || link->closed)
        return 0;
    link->stopWaiting = true;
    return 1;
}

void MLSetYieldFunction(MLINK link, std::function<void()> yield)
{
    if (link)
        link->yield = std::move(yield);
}

pid_t MLProcessId(MLINK link)
{
    return link && !link->closed ? link->kernel.pid : -1;
}
