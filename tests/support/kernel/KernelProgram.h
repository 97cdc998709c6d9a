#pragma once
// The kernel program of the build tree as the tests start it: settings that
// point at it, and a link started against it.
#include <string>

class KernelLink;
class KernelQuestions;

// The folder of the kernel program in the build tree.
std::string KernelFolder();
// The folder of a kernel program that answers the start-up and Quit and no
// other request, and says it has nothing to stop when asked to stop.
std::string SilentKernelFolder();
// Settings in `settingsFolder` that point at the built kernel program (or
// the one in `kernelFolder`), and the link installed as the program's link
// with the scripted questions.
void UseBuiltKernel(KernelLink& link, KernelQuestions& questions, const std::string& settingsFolder,
                    const std::string& kernelFolder = KernelFolder());
// Starts the link's kernel and waits until the start-up has ended.
bool StartAndWait(KernelLink& link);
// Makes link the program's link (KernelLink::Get); answers the one it
// replaces, so that ScopedInstall can put that one back.
KernelLink* SetProgramLink(KernelLink* link);
// Quits the link's kernel and undoes UseBuiltKernel: no program link, the
// default settings folder.
void StopBuiltKernel(KernelLink& link);
