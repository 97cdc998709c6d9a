#include "support/CorpusReplay.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

std::map<std::string, bool> ReplayCorpus(const std::string& folder,
                                         const std::function<bool(const std::uint8_t*, std::size_t)>& entry)
{
    const fs::path corpus = fs::path(QV_SOURCE_DIR) / folder;
    std::map<std::string, bool> answers;
    EXPECT_TRUE(fs::is_directory(corpus)) << corpus;
    if (!fs::is_directory(corpus))
        return answers;
    int files = 0, accepted = 0;
    for (const fs::directory_entry& file : fs::directory_iterator(corpus)) {
        if (!file.is_regular_file())
            continue;
        std::ifstream in(file.path(), std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(file.path().filename().string());
        bool ok = false;
        EXPECT_NO_THROW(ok = entry(bytes.data(), bytes.size()));
        ++files;
        accepted += ok ? 1 : 0;
        answers[file.path().filename().string()] = ok;
    }
    EXPECT_GT(files, 0);
    EXPECT_GT(accepted, 0);
    return answers;
}
