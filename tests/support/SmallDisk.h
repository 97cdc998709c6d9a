#pragma once
// Rows of a full-disk test, run on a disk that fills at a given room: first
// through the file layer's hook, then for real on a small memory file system
// mounted for the rows and unmounted with what is on it after them. Mounting
// needs a machine that allows it (a test run as root); where it is refused,
// the answer says why, for the test to skip.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// prepare(folder) puts there the files the rows start from; then, for each
// room, the disk is filled until at most that many bytes are left (a whole
// number of its blocks) and row(folder) runs. The hook's rows run in
// hookFolder, the memory disk's in a folder of a disk of `bytes` mounted on
// diskFolder, which holds nothing else. Answers why the memory disk's rows
// did not run; empty when they did.
std::string OnFullDisks(const std::string& hookFolder, const std::string& diskFolder, int64_t bytes,
                        const std::vector<int64_t>& rooms, const std::function<void(const std::string&)>& prepare,
                        const std::function<void(const std::string&)>& row);
