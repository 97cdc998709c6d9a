#pragma once
// A link to a fresh kernel process for the kernel's tests: this build's
// kernel program, or another one named by its path.
#include "mathlink/LinkExpr.h"
#include "mathlink/MathLink.h"

#include <string>
#include <vector>

class KernelTestLink {
public:
    explicit KernelTestLink(const std::string& program = QV_BINARY_DIR "/kernelproc/qvkernel")
    {
        env_ = MLInitialize();
        int err = 0;
        std::string open = "-linklaunch -linkname '" + program + "'";
        link_ = MLOpenString(env_, open.c_str(), &err);
        if (link_)
            MLConnect(link_);
    }
    ~KernelTestLink()
    {
        MLClose(link_);
        MLDeinitialize(env_);
    }
    KernelTestLink(const KernelTestLink&) = delete;
    KernelTestLink& operator=(const KernelTestLink&) = delete;

    MLINK link() const { return link_; }

    // Sends EvaluatePacket[request] and answers the returned expression in full
    // form; the texts of any message packets on the way go to `messages`.
    std::string evaluate(const wire::Expr& request, std::vector<std::string>* messages = nullptr)
    {
        if (!wire::putLinkExpr(link_, wire::Expr::function("EvaluatePacket", {request})) || !MLEndPacket(link_))
            return "<not sent>";
        for (;;) {
            int packet = MLNextPacket(link_);
            if (packet == MLERRORPKT)
                return "<link error " + std::to_string(MLError(link_)) + ">";
            wire::Expr e;
            if (packet == MLTEXTPKT && messages && wire::getLinkExpr(link_, e))
                messages->push_back(e.text);
            if (packet == MLCALLPKT)
                return "<call packet>";
            if (packet == MLRETURNPKT)
                return wire::getLinkExpr(link_, e) ? wire::toFullForm(e) : "<unreadable>";
        }
    }

    // Sends the request as a packet of its own (bare, as the drawing-model
    // requests go) or inside EvaluatePacket, and answers the returned
    // expression; the symbol $LinkFailed when no answer came. The texts of any
    // message packets on the way go to `messages`.
    wire::Expr answerOf(const wire::Expr& request, bool wrapped, std::vector<std::string>* messages = nullptr)
    {
        const wire::Expr packet = wrapped ? wire::Expr::function("EvaluatePacket", {request}) : request;
        if (!wire::putLinkExpr(link_, packet) || !MLEndPacket(link_))
            return wire::Expr::symbol("$LinkFailed");
        for (;;) {
            const int kind = MLNextPacket(link_);
            if (kind == MLERRORPKT || kind == MLCALLPKT)
                return wire::Expr::symbol("$LinkFailed");
            wire::Expr e;
            if (kind == MLTEXTPKT && messages && wire::getLinkExpr(link_, e))
                messages->push_back(e.text);
            if (kind == MLRETURNPKT)
                return wire::getLinkExpr(link_, e) ? e : wire::Expr::symbol("$LinkFailed");
        }
    }

    std::string evaluate(const std::string& fullForm, std::vector<std::string>* messages = nullptr)
    {
        return evaluate(wire::parseFullForm(fullForm), messages);
    }

private:
    MLENV env_ = nullptr;
    MLINK link_ = nullptr;
};

// e with every occurrence of `from` (heads aside) put as `to`.
inline wire::Expr replacedIn(const wire::Expr& e, const wire::Expr& from, const wire::Expr& to)
{
    if (e == from)
        return to;
    wire::Expr copy = e;
    for (std::size_t i = 1; i < copy.parts.size(); ++i)
        copy.parts[i] = replacedIn(copy.parts[i], from, to);
    return copy;
}
