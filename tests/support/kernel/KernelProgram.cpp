#include "support/kernel/KernelProgram.h"

#include "kernel/KernelLink.h"
#include "kernel/KernelSettings.h"
#include "kernel/NameTable.h"
#include "platform/AppProfile.h"

#include <QString>

#include <chrono>
#include <thread>

std::string KernelFolder()
{
    return QV_BINARY_DIR "/kernelproc";
}

std::string SilentKernelFolder()
{
    return QV_BINARY_DIR "/silent-kernel";
}

void UseBuiltKernel(KernelLink& link, KernelQuestions& questions, const std::string& settingsFolder,
                    const std::string& kernelFolder)
{
    AppProfile::SetFolder(QString::fromStdString(settingsFolder));
    KernelSettings folder;
    folder.kernelPath = kernelFolder;
    folder.Save();
    TheNameTable();
    link.SetQuestions(&questions);
    KernelLink::Set(&link);
}

bool StartAndWait(KernelLink& link)
{
    link.StartKernel();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (link.IsStarting() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    link.EndStartup();
    return link.IsReady();
}

KernelLink* SetProgramLink(KernelLink* link)
{
    KernelLink* previous = KernelLink::Get();
    KernelLink::Set(link);
    return previous;
}

void StopBuiltKernel(KernelLink& link)
{
    link.QuitKernel();
    KernelLink::Set(nullptr);
    AppProfile::SetFolder({});
}
