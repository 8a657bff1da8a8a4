#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace emr::bench {

/// A program started with EMR_FIRST_FRAME_FD set, so that its X11 backend
/// writes the monotonic time of its first presented frame to a pipe.
class TProgramLauncher {
public:
    /// Forks and execs `command`; StartNs is taken just before the fork.
    explicit TProgramLauncher(const std::vector<std::string>& command);
    /// Ends the program if Finish did not.
    ~TProgramLauncher();
    TProgramLauncher(const TProgramLauncher&) = delete;
    TProgramLauncher& operator=(const TProgramLauncher&) = delete;

    /// The monotonic time (ns) of the first frame, or 0 when none came in time.
    long long AwaitFirstFrame(int timeoutMs);
    /// Ends the program; its user + system time (ms) and peak RSS (KiB).
    void Finish(double& cpuMs, long& peakRssKiB, int& exitStatus);

    pid_t Pid() const { return pid_; }
    long long StartNs() const { return startNs_; }

private:
    pid_t pid_ = -1;
    int frameFd_ = -1;
    long long startNs_ = 0;
};

long long MonotonicNs();
/// The program the benchmarks start: EMR_STARTUP_PROGRAM, else emrpatch.
std::vector<std::string> ProgramCommand();

} // namespace emr::bench
