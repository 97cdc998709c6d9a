#pragma once
// The fuzz entry for the reader of kernel answers, shared by the libFuzzer
// target and the corpus replay test. An input is the token stream of one
// packet in the link's wire format, as a kernel might send it: it is read
// into a node tree, which is then written back in both kernel forms and as
// MathML, normalised, flattened and cloned. Nothing may crash, hang or leak.
#include "export/XMLCoreWriter.h"
#include "foundation/ByteStream.h"
#include "foundation/ExprNode.h"
#include "kernel/KernelReader.h"
#include "mathlink/MathLink.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace readerfuzz {

struct NullStream : ByteStream {
    void Write(const void*, int32_t n) override { written += n; }
    int32_t GetLength() override { return int32_t(written); }
    long long written = 0;
};

inline MLINK Link()
{
    static MLENV env = MLInitialize();
    static MLINK link = [] {
        int error = 0;
        return MLLoopbackOpen(env, &error);
    }();
    return link;
}

// Writes a form and takes the packet off the loopback again.
template <typename Put>
void WriteAndDrop(MLINK link, Put put)
{
    put();
    MLEndPacket(link);
    MLNextPacket(link);
    MLNewPacket(link);
    MLClearError(link);
}

inline bool RunReaderInput(const std::uint8_t* data, std::size_t size)
{
    MLINK link = Link();
    MLClearError(link);
    if (!MLLoopbackPutPacket(link, reinterpret_cast<const char*>(data), int(size)))
        return false;
    MLNextPacket(link);
    KernelReader reader(link);
    std::unique_ptr<ExprNode> node(reader.ReadExpr());
    MLNewPacket(link);
    MLClearError(link);

    WriteAndDrop(link, [&] { node->PutPackageForm(link, 1); });
    WriteAndDrop(link, [&] { node->PutPlainForm(link); });
    {
        NullStream stream;
        XMLCoreWriter writer(stream);
        std::unique_ptr<ExprNode> copy(node->Clone());
        if (copy)
            copy->WriteMathML(writer);
        writer.Flush();
    }
    ExprNode* num = nullptr;
    ExprNode* den = nullptr;
    if (node->NormalizeFractions(num, den)) {
        std::unique_ptr<ExprNode> numerator(num);
        std::unique_ptr<ExprNode> denominator(den);
        if (num == node.get())
            numerator.release();
    }
    node->Flatten();
    return !reader.Failed();
}

} // namespace readerfuzz
