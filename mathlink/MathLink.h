#pragma once
// The program's side of the kernel link: one environment, links to kernel
// processes launched as children, and the calls through which requests are
// written and answers read. Every call is safe on a null or closed link and
// answers failure there (0, or a null pointer).
#include <cstdint>
#include <functional>
#include <sys/types.h>

struct MLEnvironmentObject;
struct MLLinkObject;
using MLENV = MLEnvironmentObject*;
using MLINK = MLLinkObject*;

// Token types (MLGetType, MLGetNext, MLPutNext).
constexpr int MLTKERROR = 0;
constexpr int MLTKSTR = 34;
constexpr int MLTKSYM = 35;
constexpr int MLTKREAL = 42;
constexpr int MLTKINT = 43;
constexpr int MLTKFUNC = 70;

// Packet kinds (MLNextPacket). Any packet of another kind reads as MLOTHERPKT.
constexpr int MLERRORPKT = 0;
constexpr int MLTEXTPKT = 2;
constexpr int MLRETURNPKT = 3;
constexpr int MLMESSAGEPKT = 5;
constexpr int MLCALLPKT = 7;
constexpr int MLSUSPENDPKT = 17;
constexpr int MLOTHERPKT = 100;

// Out-of-band messages: the abort goes to the kernel (MLPutMessage); the
// kernel's word on it comes back (MLGetMessage).
constexpr int MLABORTMESSAGE = 3;
constexpr int MLSTOPPINGMESSAGE = 20;
constexpr int MLNOTHINGTOSTOPMESSAGE = 21;

// Error codes (MLError).
constexpr int MLEOK = 0;
constexpr int MLEDEAD = 1;         // no link, or the link was closed by this side
constexpr int MLEGETSEQ = 3;       // a get that does not match the data at hand
constexpr int MLEPUTSEQ = 4;       // a put out of sequence, or an incomplete packet
constexpr int MLEBADDATA = 5;      // the data received is malformed
constexpr int MLELAUNCH = 10;      // the kernel program could not be found or started
constexpr int MLECLOSED = 11;      // the kernel closed the link
constexpr int MLECONNECT = 12;     // the kernel did not answer the greeting
constexpr int MLEBADARGS = 13;     // a malformed open string or argument
constexpr int MLEWAITSTOPPED = 14; // MLStopWaiting gave the wait up; the link stays open

MLENV MLInitialize();
void MLDeinitialize(MLENV env);

// "-linklaunch -linkname '<kernel>' [-mathlink]": <kernel> is the kernel
// program, or a folder holding it; a name that is no executable file (such as
// the customary "MathKernel.exe") stands for the kernel program "qvkernel" in
// its folder. Relative names resolve against the current folder.
MLINK MLOpenString(MLENV env, const char* arguments, int* error);
int MLConnect(MLINK link);
// A link to itself: every packet ended on it is the next packet MLNextPacket
// reads. MLLoopbackPutPacket queues raw packet bytes (the wire format's token
// stream) as if they had been received, malformed or not.
MLINK MLLoopbackOpen(MLENV env, int* error);
int MLLoopbackPutPacket(MLINK link, const char* bytes, int byteCount);
void MLClose(MLINK link);

int MLError(MLINK link);
const char* MLErrorMessage(MLINK link);
int MLClearError(MLINK link);

int MLPutFunction(MLINK link, const char* head, int argCount);
int MLPutSymbol(MLINK link, const char* name);
int MLPutString(MLINK link, const char* text);
int MLPutShortInteger(MLINK link, int value);
int MLPutInteger(MLINK link, int value);
int MLPutLongInteger(MLINK link, int32_t value);
int MLPutDouble(MLINK link, double value);
int MLPutNext(MLINK link, int tokenType);
int MLPutArgCount(MLINK link, int argCount);
int MLPutSize(MLINK link, int byteCount);
int MLPutData(MLINK link, const char* bytes, int byteCount);
// Sends the packet: one whole expression, or an empty packet when nothing was
// put. A packet that is incomplete, or one of whose puts failed (every later
// put of it fails too), is dropped instead: nothing is sent, and 0 answered.
int MLEndPacket(MLINK link);
// Drops what has been put since the last MLEndPacket (a packet given up
// half-written), so that the next packet starts clean. MLClearError also
// lets the puts of the packet go on.
int MLClearPutPacket(MLINK link);
int MLPutMessage(MLINK link, int message);
// Never waits: takes the next out-of-band message the kernel has sent about
// the packets written so far into *message and answers 1, or answers 0 when
// none is waiting. Messages about earlier requests are dropped.
int MLGetMessage(MLINK link, int* message);

int MLNextPacket(MLINK link);
int MLNewPacket(MLINK link);

int MLGetType(MLINK link);
int MLGetNext(MLINK link);
int MLGetInteger(MLINK link, int* value);
int MLGetArgCount(MLINK link, int* count);
int MLGetSymbol(MLINK link, const char** name);
void MLDisownSymbol(MLINK link, const char* name);
int MLGetString(MLINK link, const char** text);
void MLDisownString(MLINK link, const char* text);
int MLBytesToGet(MLINK link, int* count);
int MLGetData(MLINK link, char* buffer, int capacity, int* taken);

// Called while a read waits for the kernel (every few milliseconds), so that
// the caller can keep its windows painted and see Escape. May call
// MLPutMessage on the same link.
void MLSetYieldFunction(MLINK link, std::function<void()> yield);
// From the yield function: the read that waits gives up at once, and
// MLNextPacket answers MLERRORPKT with the error MLEWAITSTOPPED. What came of
// the packet being received is kept, and the next MLNextPacket takes it up.
int MLStopWaiting(MLINK link);
// The kernel's process id, or -1.
pid_t MLProcessId(MLINK link);
