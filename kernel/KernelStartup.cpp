// Starting and quitting the kernel. The start-up runs on a worker thread:
// finding the kernel program, launching it, connecting and loading the
// package take seconds, and the user can cancel meanwhile.
#include "kernel/KernelLink.h"

#include "kernel/KernelQuestions.h"
#include "kernel/KernelSettings.h"

#include <filesystem>
#include <unistd.h>

namespace {

// Only the start-up worker writes to the link while the start-up runs.
thread_local bool tStartupWorker = false;

bool HoldsKernel(const std::string& folder)
{
    if (folder.empty())
        return false;
    std::filesystem::path program = std::filesystem::path(folder) / KernelLink::kProgramName;
    return ::access(program.c_str(), X_OK) == 0;
}

} // namespace

void KernelLink::StartKernel()
{
    if (m_link.load() || m_starting)
        return;
    if (m_worker.joinable())
        m_worker.join();
    if (!m_environment)
        m_environment = MLInitialize();
    if (!m_environment)
        return;
    if (m_questions)
        m_questions->ConstantsPalette(true);
    m_starting = true;
    m_running = true;
    m_ready = false;
    m_worker = std::thread([this] { RunStartup(); });
}

void KernelLink::CancelStartup()
{
    m_running = false;
}

void KernelLink::EndStartup()
{
    m_running = false;
    if (!m_worker.joinable())
        return;
    // The worker may be waiting for the user-interface thread (a message, the
    // locate prompt): keep serving it until the worker has ended.
    while (m_starting) {
        if (m_questions)
            m_questions->Yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_worker.join();
}

std::string KernelLink::FindKernelFolder()
{
    KernelSettings settings;
    if (HoldsKernel(settings.kernelPath))
        return settings.kernelPath;
    if (HoldsKernel(m_fallbackFolder))
        return m_fallbackFolder;
    std::string chosen = m_questions ? m_questions->LocateKernel() : std::string();
    if (!HoldsKernel(chosen))
        return {};
    settings.kernelPath = chosen;
    settings.Save();
    return chosen;
}

std::string KernelLink::KernelFolderInUse() const
{
    KernelSettings settings;
    if (HoldsKernel(settings.kernelPath))
        return settings.kernelPath;
    return HoldsKernel(m_fallbackFolder) ? m_fallbackFolder : settings.kernelPath;
}

bool KernelLink::OnStartupWorker()
{
    return tStartupWorker;
}

void KernelLink::RunStartup()
{
    tStartupWorker = true;
    std::string folder = FindKernelFolder();
    if (folder.empty())
        return FailStartup("Can not locate the kernel.", false);
    if (folder.find('\'') != std::string::npos)
        return FailStartup("Unable to start the kernel: its folder's name holds a quotation mark.", false);
    if (m_questions)
        m_questions->StartupStatus("Starting the kernel");
    m_busy = true;
    int error = 0;
    std::string open = "-linklaunch -linkname '" + folder + "/" + kProgramName + "' -mathlink";
    MLINK link = MLOpenString(m_environment, open.c_str(), &error);
    m_link = link;
    if (error != 0 || !link)
        return FailStartup("Unable to start the kernel.", false);
    MLSetYieldFunction(link, [this] { YieldWhileWaiting(); });
    if (!MLConnect(link) || !m_running)
        return FailStartup(m_running ? "Unable to start the kernel: it did not answer." : "", false);
    if (m_questions)
        m_questions->StartupStatus("Loading the kernel package.");
    MLPutFunction(link, "Needs", 1);
    MLPutString(link, kPackageName);
    MLEndPacket(link);
    bool answered = WaitForReturn(true);
    if (MLINK still = m_link)
        MLNewPacket(still);
    if (!answered || !m_running || !m_link.load() || MLError(m_link) != MLEOK)
        return FailStartup(m_running ? "The kernel stopped while it was starting." : "", true);
    m_busy = false;
    SendStartupPrefs();
    if (!m_link.load() || !m_running)
        return FailStartup("", true);
    m_ready = true;
    m_starting = false;
    if (m_questions)
        m_questions->StartupFinished(true);
}

void KernelLink::FailStartup(const std::string& message, bool)
{
    CloseLink();
    m_busy = false;
    m_ready = false;
    if (m_running && !message.empty() && m_questions)
        m_questions->ShowMessage(message);
    m_running = false;
    if (m_questions)
        m_questions->StartupFinished(false);
    m_starting = false;
}

void KernelLink::QuitKernel()
{
    // A kernel still starting (started again after an abort, say) is cancelled.
    if (m_starting)
        EndStartup();
    MLINK link = m_link;
    if (!link)
        return;
    if (m_questions)
        m_questions->ConstantsPalette(false);
    m_busy = true;
    // A kernel that does not go within the abort's grace is ended: it says
    // nothing while it goes.
    m_lastWord = std::chrono::steady_clock::now();
    m_awaitingWord = true;
    m_answerOnItsWay = false;
    m_abortRequested = true;
    MLPutFunction(link, "EvaluatePacket", 1);
    MLPutFunction(link, "Quit", 0);
    MLEndPacket(link);
    // Drain until the kernel has gone (the closed link reads as an error).
    for (int packet = MLNextPacket(link); packet != MLSUSPENDPKT && packet != MLERRORPKT;) {
        MLNewPacket(link);
        packet = MLNextPacket(link);
    }
    CloseLink();
    m_busy = false;
    m_ready = false;
    m_abortRequested = false;
    m_endedAfterAbort = false;
    m_givingUp = false;
    m_idleWork.clear();
}
