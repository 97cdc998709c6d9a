#pragma once
// Writes something through the archive into bytes the way the program saves:
// a counting pass sizes the buffer, the real pass fills it exactly.
#include "foundation/DocWriter.h"

#include <cstdint>
#include <functional>
#include <vector>

// write receives whether the pass only measures.
std::vector<uint8_t> StoreArchive(const std::function<void(DocWriter&, bool measuring)>& write);
std::vector<uint8_t> StoreArchive(const std::function<void(DocWriter&)>& write);
