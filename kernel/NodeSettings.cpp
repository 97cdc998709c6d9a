#include "kernel/NodeSettings.h"

NodeSettings& NodeSettings::Get()
{
    static NodeSettings settings;
    return settings;
}
