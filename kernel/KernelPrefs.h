#pragma once
// The calculation preferences: where results go, whether kernel messages are
// shown, the default and transform variables, the numeric precision and how
// hard the kernel simplifies. Kept in the settings section "Kernel
// Preferences"; the kernel link owns one record and sends it to the kernel.
#include <string>

struct KernelPrefs {
    static constexpr const char* kSection = "Kernel Preferences";
    static constexpr int kMaxVariableLength = 31;
    static constexpr int kLowSimplification = 0;
    static constexpr int kMediumSimplification = 1;
    static constexpr int kHighSimplification = 2;

    bool resultsAtEnd = false;
    bool showWarnings = false;
    std::string defaultVariable = "x";
    std::string transformVariable = "xi";
    int precision = 0;                       // 0: the kernel's default
    int simplificationLevel = kMediumSimplification;

    // Reads every value, with the defaults above for missing or empty ones.
    void Load();
    void Save() const;
    // Makes the values the ones the expression nodes and the reader use.
    void Apply() const;
    // Why the record cannot be kept (a variable too long or empty, a level
    // out of range), or "" when it can.
    std::string Problem() const;
};
