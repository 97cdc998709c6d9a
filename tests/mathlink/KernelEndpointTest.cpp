// The kernel's end of the link, driven over a socket pair in this process.
#include "mathlink/KernelEndpoint.h"
#include "mathlink/SocketChannel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace wire;

namespace {

struct SocketPair {
    SocketPair() { EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fd), 0); }
    ~SocketPair()
    {
        for (int f : fd)
            if (f >= 0)
                ::close(f);
    }
    void closeProgramSide()
    {
        ::close(fd[0]);
        fd[0] = -1;
    }
    int fd[2] = {-1, -1};
};

std::string packetOf(const Expr& e)
{
    PacketWriter writer;
    writeExpr(writer, e);
    return writer.bytes();
}

} // namespace

TEST(KernelEndpoint, ReadsWholeExpressionsEmptyAndMalformedPackets)
{
    SocketPair data;
    SocketPair control;
    KernelEndpoint endpoint(data.fd[1], control.fd[1]);
    std::thread program([&] { EXPECT_TRUE(exchangeGreeting(data.fd[0], {}, 5000)); });
    ASSERT_TRUE(endpoint.greet());
    program.join();

    ASSERT_TRUE(sendPacket(data.fd[0], packetOf(parseFullForm("EvaluatePacket[Plus[1, 1]]"))));
    ASSERT_TRUE(sendPacket(data.fd[0], ""));
    std::string truncated = packetOf(parseFullForm("f[x, y]"));
    truncated.pop_back();
    ASSERT_TRUE(sendPacket(data.fd[0], truncated));
    std::string twoExpressions = packetOf(Expr::integer(1)) + packetOf(Expr::integer(2));
    ASSERT_TRUE(sendPacket(data.fd[0], twoExpressions));

    Expr e;
    EXPECT_EQ(endpoint.readPacket(e), KernelEndpoint::Read::expression);
    EXPECT_EQ(toFullForm(e), "EvaluatePacket[Plus[1, 1]]");
    EXPECT_EQ(endpoint.readPacket(e), KernelEndpoint::Read::empty);
    EXPECT_EQ(endpoint.readPacket(e), KernelEndpoint::Read::malformed);
    EXPECT_EQ(endpoint.readPacket(e), KernelEndpoint::Read::malformed);
    EXPECT_EQ(endpoint.packetsRead(), 4u);

    // A length prefix beyond the limit is refused without reading on.
    std::string huge;
    appendU32(huge, 0xFFFFFFFFu);
    ASSERT_TRUE(sendAll(data.fd[0], huge));
    EXPECT_EQ(endpoint.readPacket(e), KernelEndpoint::Read::malformed);

    data.closeProgramSide();
    EXPECT_EQ(endpoint.readPacket(e), KernelEndpoint::Read::closed);
}

TEST(KernelEndpoint, ControlMessagesReachTheWatcherWhileTheMainThreadIsBusy)
{
    SocketPair data;
    SocketPair control;
    std::atomic<int> message{0};
    std::atomic<uint32_t> serial{0};
    {
        KernelEndpoint endpoint(data.fd[1], control.fd[1]);
        endpoint.watchControl([&](int m, uint32_t s) {
            serial = s;
            message = m;
        });
        std::string bytes;
        appendU32(bytes, kMessageAbort);
        appendU32(bytes, 7);
        ASSERT_TRUE(sendAll(control.fd[0], bytes));
        for (int i = 0; i < 12000 && message == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(message, kMessageAbort);
        EXPECT_EQ(serial, 7u);
    }   // the watcher ends with the endpoint
}

TEST(KernelEndpoint, WritesAnswerPacketsTheProgramCanRead)
{
    SocketPair data;
    SocketPair control;
    KernelEndpoint endpoint(data.fd[1], control.fd[1]);
    Expr answer = parseFullForm("ReturnPacket[List[\"a\", 2.5, x]]");
    ASSERT_TRUE(endpoint.writePacket(answer));
    std::string payload;
    ASSERT_EQ(receivePacket(data.fd[0], payload, {}), ReadStatus::ok);
    PacketReader reader;
    reader.reset(payload);
    Expr back;
    ASSERT_TRUE(readExpr(reader, back));
    EXPECT_EQ(back, answer);

    // A read given up halfway (its yield hook answered false) goes on where
    // it stopped: in the length, and in the payload.
    std::string frame;
    appendU32(frame, uint32_t(packetOf(answer).size()));
    frame += packetOf(answer);
    IncomingPacket incoming;
    for (std::size_t cut : {std::size_t(2), std::size_t(9), frame.size()}) {
        const std::size_t sent = incoming.headerGot + incoming.payloadGot;
        ASSERT_TRUE(sendAll(data.fd[1], std::string_view(frame).substr(sent, cut - sent)));
        const ReadStatus status = receivePacket(data.fd[0], incoming, [] { return false; });
        EXPECT_EQ(status, cut == frame.size() ? ReadStatus::ok : ReadStatus::stopped) << cut;
    }
    EXPECT_EQ(incoming.payload, packetOf(answer));

    // A cut answer: the length promises more than arrives before the end.
    ASSERT_TRUE(endpoint.writeTruncatedPacket(answer));
    ::close(data.fd[1]);
    data.fd[1] = -1;
    EXPECT_EQ(receivePacket(data.fd[0], payload, {}), ReadStatus::closed);
}
