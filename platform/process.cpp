#include "platform/process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/regularFile.h"

extern char** environ;

namespace proc {

namespace {

using Clock = std::chrono::steady_clock;

bool cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load();
}

// A memory file holding bytes, sealed against any change; -1 on failure.
int memoryFile(const std::string& bytes)
{
    fileio::Fd fd(::memfd_create("lunvelde-input", MFD_CLOEXEC | MFD_ALLOW_SEALING));
    if (!fd.ok() || !fileio::writeAll(fd.get(), bytes.data(), bytes.size(), 0) ||
        ::fcntl(fd.get(), F_ADD_SEALS, F_SEAL_WRITE | F_SEAL_GROW | F_SEAL_SHRINK | F_SEAL_SEAL) != 0)
        return -1;
    return fd.release();
}

// Waits for pid to end until deadline (or a cancel), then kills it; always
// reaps it. Returns its wait status.
int reap(pid_t pid, Clock::time_point deadline, const std::atomic<bool>* cancel)
{
    int status = 0;
    for (;;) {
        const pid_t got = ::waitpid(pid, &status, WNOHANG);
        if (got == pid)
            return status;
        if (got < 0 && errno != EINTR)
            return -1;
        if (Clock::now() >= deadline || cancelled(cancel))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    // The program's own children (it leads its process group) go with it.
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return status;
}

}  // namespace

Outcome run(const std::string& program, const std::vector<std::string>& args, const std::string& input,
            std::size_t outputLimit, int timeoutMs, const std::atomic<bool>* cancel)
{
    Outcome outcome;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    fileio::Fd in(memoryFile(input));
    int pipeFds[2];
    if (!in.ok() || ::pipe2(pipeFds, O_CLOEXEC) != 0)
        return outcome;
    fileio::Fd readEnd(pipeFds[0]);
    fileio::Fd writeEnd(pipeFds[1]);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    // The child starts with no signal blocked or ignored, whatever the
    // calling thread had, with only its three standard descriptors, and in a
    // process group of its own.
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawnattr_init(&attr);
    ::posix_spawn_file_actions_adddup2(&actions, in.get(), 0);
    ::posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), 1);
    ::posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    ::posix_spawnattr_setsigmask(&attr, &none);
    ::posix_spawnattr_setsigdefault(&attr, &all);
    ::posix_spawnattr_setpgroup(&attr, 0);
    ::posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, &attr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::posix_spawnattr_destroy(&attr);
    in.close();
    writeEnd.close();
    if (spawned != 0)
        return outcome;
    outcome.started = true;

    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    outcome.outputWhole =
        left > 0 && fileio::readAll(readEnd.get(), outcome.output, outputLimit, static_cast<int>(left), cancel);
    readEnd.close();
    const int status = reap(pid, outcome.outputWhole ? deadline : Clock::now(), cancel);
    outcome.exited = status >= 0 && WIFEXITED(status);
    outcome.status = outcome.exited ? WEXITSTATUS(status) : -1;
    return outcome;
}

bool isExecutable(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string programDirectory()
{
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf);
    if (n <= 0 || std::size_t(n) >= sizeof buf)
        return {};
    std::string path(buf, std::size_t(n));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool limitSelf(std::uint64_t addressSpace)
{
    bool ok = true;
    if (addressSpace > 0) {
        const rlimit memory {rlim_t(addressSpace), rlim_t(addressSpace)};
        ok = ::setrlimit(RLIMIT_AS, &memory) == 0;
    }
    const rlimit noCore {0, 0};
    return ::setrlimit(RLIMIT_CORE, &noCore) == 0 && ok;
}

}  // namespace proc
