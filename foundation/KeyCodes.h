#pragma once
// The key codes are named where keys are translated, in the platform layer;
// the model reads them from there.
#include "platform/KeyCodes.h"
