#pragma once
// The font ids are named in the drawing layer, whose text codec needs them;
// the model reads them from there.
#include "platform/draw/FontIds.h"
