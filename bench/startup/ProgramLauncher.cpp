#include "ProgramLauncher.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

namespace emr::bench {

long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

std::vector<std::string> ProgramCommand() {
    const char* program = std::getenv("EMR_STARTUP_PROGRAM");
    return {program && *program ? program : "emrpatch"};
}

TProgramLauncher::TProgramLauncher(const std::vector<std::string>& command) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    startNs_ = MonotonicNs();
    pid_ = fork();
    if (pid_ == 0) {
        const int fd = dup(fds[1]); // without close-on-exec: the program inherits it
        setenv("EMR_FIRST_FRAME_FD", std::to_string(fd).c_str(), 1);
        std::vector<char*> argv;
        for (const std::string& arg : command)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    frameFd_ = fds[0];
}

TProgramLauncher::~TProgramLauncher() {
    double cpuMs;
    long rss;
    int status;
    Finish(cpuMs, rss, status);
}

long long TProgramLauncher::AwaitFirstFrame(int timeoutMs) {
    if (frameFd_ < 0) return 0;
    std::string line;
    pollfd p{frameFd_, POLLIN, 0};
    while (poll(&p, 1, timeoutMs) > 0) {
        char buffer[64];
        const ssize_t n = read(frameFd_, buffer, sizeof buffer);
        if (n <= 0) break;
        line.append(buffer, static_cast<std::size_t>(n));
        if (line.find('\n') != std::string::npos) break;
    }
    close(frameFd_);
    frameFd_ = -1;
    return line.empty() ? 0 : std::strtoll(line.c_str(), nullptr, 10);
}

void TProgramLauncher::Finish(double& cpuMs, long& peakRssKiB, int& exitStatus) {
    cpuMs = 0;
    peakRssKiB = 0;
    exitStatus = 0;
    if (frameFd_ >= 0) close(frameFd_);
    frameFd_ = -1;
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid_, &status, 0, &usage);
    pid_ = -1;
    peakRssKiB = usage.ru_maxrss;
    cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
            (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    exitStatus = WEXITSTATUS(status);
}

} // namespace emr::bench
