#pragma once
// Where the kernel lives: the folder of the kernel program, kept in the
// settings under "Kernel Connection"/"Kernel Path" (empty when never chosen).
// The application makes one at start-up and keeps it until exit; the Kernel
// Connection command changes and saves it.
#include <string>

class KernelSettings {
public:
    static constexpr const char* kSection = "Kernel Connection";
    static constexpr const char* kPathKey = "Kernel Path";

    // Reads the folder from the settings.
    KernelSettings();

    void Save() const;

    std::string kernelPath;
};
