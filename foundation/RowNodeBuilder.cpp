#include "foundation/RowNodeBuilder.h"

namespace {
RowNodeBuilder* gRowNodeBuilder = nullptr;
}

void RowNodeBuilder::Install(RowNodeBuilder* builder)
{
    gRowNodeBuilder = builder;
}

RowNodeBuilder* RowNodeBuilder::Get()
{
    return gRowNodeBuilder;
}
