#pragma once
// The running test's own folder under its test program's output folder
// (QV_TEST_OUTPUT): "<suite>.<test>" with the suffix, made empty.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

inline std::string TestOutputFolder(const std::string& suffix = "")
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string folder = std::string(QV_TEST_OUTPUT) + "/" + info->test_suite_name() + "." + info->name() + suffix;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}
