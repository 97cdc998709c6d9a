#pragma once
// Where the Constants palette sends a letter's new state: the kernel link's
// request that makes the letter a constant or an ordinary symbol again. The
// kernel link installs itself here; until then the state goes nowhere.
#include <functional>

using ConstantAttributeSink = std::function<void(char letter, bool constant)>;

// Installs the sink; answers the one it replaces.
ConstantAttributeSink SetConstantAttributeSink(ConstantAttributeSink sink);
void SendConstantAttribute(char letter, bool constant);
