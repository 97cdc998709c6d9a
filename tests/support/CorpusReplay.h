#pragma once
// Replays a fuzz corpus kept in the source tree as an ordinary test: every
// input runs through the fuzzer's own entry, none may throw (crashes, hangs
// and leaks are the sanitizers' to report), and some must be accepted.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

// entry answers whether the input was accepted; folder is relative to the
// source tree. Answers what entry answered, by file name.
std::map<std::string, bool> ReplayCorpus(const std::string& folder,
                                         const std::function<bool(const std::uint8_t*, std::size_t)>& entry);
