#include "app/ConstantAttributeSink.h"

#include <utility>

namespace {
ConstantAttributeSink& sink()
{
    static ConstantAttributeSink installed;
    return installed;
}
}

ConstantAttributeSink SetConstantAttributeSink(ConstantAttributeSink replacement)
{
    return std::exchange(sink(), std::move(replacement));
}

void SendConstantAttribute(char letter, bool constant)
{
    if (sink())
        sink()(letter, constant);
}
