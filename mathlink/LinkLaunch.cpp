#include "mathlink/LinkLaunch.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace wire {

namespace {

constexpr const char* kKernelProgramName = "qvkernel";

bool isExecutableFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string readWord(const std::string& text, std::size_t& pos)
{
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    if (pos >= text.size())
        return {};
    char quote = text[pos];
    if (quote == '\'' || quote == '"') {
        std::size_t close = text.find(quote, pos + 1);
        if (close == std::string::npos)
            throw std::invalid_argument("unterminated quote in the link name");
        std::string word = text.substr(pos + 1, close - pos - 1);
        pos = close + 1;
        return word;
    }
    std::size_t start = pos;
    while (pos < text.size() && text[pos] != ' ')
        ++pos;
    return text.substr(start, pos - start);
}

} // namespace

LaunchRequest parseOpenString(const std::string& arguments)
{
    LaunchRequest request;
    std::size_t pos = 0;
    for (;;) {
        std::string word = readWord(arguments, pos);
        if (word.empty())
            break;
        if (word == "-linklaunch") {
            request.launch = true;
        } else if (word == "-linkname") {
            request.name = readWord(arguments, pos);
            if (request.name.empty())
                throw std::invalid_argument("-linkname without a name");
        } else if (word != "-mathlink") {
            throw std::invalid_argument("unknown link option " + word);
        }
    }
    return request;
}

std::string resolveKernelProgram(const std::string& name)
{
    namespace fs = std::filesystem;
    if (name.empty())
        return {};
    std::error_code ec;
    fs::path path = fs::absolute(fs::path(name), ec);
    if (ec)
        return {};
    if (fs::is_directory(path, ec))
        path /= kKernelProgramName;
    else if (!isExecutableFile(path.string()))
        path = path.parent_path() / kKernelProgramName;
    return isExecutableFile(path.string()) ? path.lexically_normal().string() : std::string();
}

bool launchKernel(const std::string& program, LaunchedKernel& kernel, std::string& why)
{
    int data[2] = {-1, -1};
    int control[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, data) != 0
        || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, control) != 0) {
        why = std::strerror(errno);
        for (int fd : {data[0], data[1], control[0], control[1]})
            if (fd >= 0)
                ::close(fd);
        return false;
    }
    // The child's ends move above 4 first, so that placing them on 3 and 4 can never clash.
    int childData = ::fcntl(data[1], F_DUPFD_CLOEXEC, 10);
    int childControl = ::fcntl(control[1], F_DUPFD_CLOEXEC, 10);
    ::close(data[1]);
    ::close(control[1]);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, childData, 3);
    posix_spawn_file_actions_adddup2(&actions, childControl, 4);
    std::string programCopy = program;
    char arg1[] = "-linkfds";
    char arg2[] = "3";
    char arg3[] = "4";
    char* argv[] = {programCopy.data(), arg1, arg2, arg3, nullptr};
    pid_t pid = -1;
    int rc = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(childData);
    ::close(childControl);
    if (rc != 0) {
        why = std::strerror(rc);
        ::close(data[0]);
        ::close(control[0]);
        return false;
    }
    kernel.pid = pid;
    kernel.dataFd = data[0];
    kernel.controlFd = control[0];
    return true;
}

void reapKernel(pid_t pid, int graceMs)
{
    if (pid <= 0)
        return;
    for (int waited = 0; waited <= graceMs; waited += 5) {
        pid_t done = ::waitpid(pid, nullptr, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

} // namespace wire
