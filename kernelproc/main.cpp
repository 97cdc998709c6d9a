// The substitute computer-algebra kernel. The program launches it with
// "-linkfds <data> <control>": the two sockets of its link.
#include "kernelproc/KernelSession.h"
#include "kernelproc/LargeStack.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 4 || std::strcmp(argv[1], "-linkfds") != 0) {
        std::fputs("qvkernel: the kernel of Quorvant; the program starts it.\n", stderr);
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN);
    // Giac remarks on its work through the standard streams; the program shows
    // the kernel's messages itself, so these go nowhere.
    std::cout.rdbuf(nullptr);
    std::cerr.rdbuf(nullptr);
    std::clog.rdbuf(nullptr);
    const char* hooks = std::getenv("QVKERNEL_TEST_HOOKS");
    bool testHooks = hooks && std::strcmp(hooks, "1") == 0;
    int status = kernelproc::runWithLargeStack([&] {
        kernelproc::KernelSession session(std::atoi(argv[2]), std::atoi(argv[3]), testHooks);
        return session.run();
    });
    // Giac keeps process-wide tables until exit; leave without tearing them down.
    std::fflush(nullptr);
    ::_exit(status);
}
