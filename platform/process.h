// Running one of the program's own helper executables: its input given as
// bytes, its output collected, bounded in size and in time. Every process
// call of the program (spawn, wait, kill, pipes, memory files, resource
// limits) is here.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace proc {

struct Outcome {
    bool started = false;
    bool outputWhole = false;  // the output came to its end within the limits
    bool exited = false;       // ended through exit (not killed by a signal)
    int status = -1;           // its exit status when exited
    std::string output;
};

// Runs program (posix_spawn, no shell) with args after its name. input is
// its standard input, as a sealed memory file (so the program may also seek
// in it or reopen it as /proc/self/fd/0); its standard output is collected
// into the outcome; its standard error is ours; no other descriptor is
// passed on. It leads a process group of its own, and the whole group is
// killed when it writes more than outputLimit bytes, when it has not ended
// timeoutMs after the start, or as soon as *cancel turns true (looked at
// every 20 ms). Returns only once the program has ended and been reaped.
Outcome run(const std::string& program, const std::vector<std::string>& args, const std::string& input,
            std::size_t outputLimit, int timeoutMs, const std::atomic<bool>* cancel = nullptr);

// True when path is a regular file that we may execute.
bool isExecutable(const std::string& path);

// The folder of the running executable (from /proc/self/exe), without a
// trailing '/'; empty when it cannot be found.
std::string programDirectory();

// Limits the calling process: its address space to addressSpace bytes (0:
// unchanged) and no core dumps. False when a limit could not be set.
bool limitSelf(std::uint64_t addressSpace);

}  // namespace proc
