#include "framework/platform/x11/StopSignals.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace emr::platform::x11 {

namespace {

constexpr std::array<int, 3> kStopSignals = {SIGTERM, SIGINT, SIGHUP};

// What the handler may touch: plain values written before it is installed.
volatile sig_atomic_t stopRequested = 0;
volatile sig_atomic_t wakeFd = -1;
bool installed[kStopSignals.size()] = {};
struct sigaction previous[kStopSignals.size()];

void OnStopSignal(int) {
    const int savedErrno = errno;
    stopRequested = 1;
    const char byte = 1;
    if (wakeFd >= 0) [[maybe_unused]]
        ssize_t written = write(wakeFd, &byte, 1);
    errno = savedErrno;
}

bool anyoneWatching = false;

} // namespace

TStopSignals::TStopSignals(int fd) {
    if (anyoneWatching || fd < 0) return;
    anyoneWatching = watching_ = true;
    stopRequested = 0;
    wakeFd = fd;
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        struct sigaction current {};
        if (sigaction(kStopSignals[i], nullptr, &current) != 0) continue;
        const bool byDefault = !(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL;
        if (!byDefault) continue;
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        // The first signal asks; a second one finds the default again and ends the program.
        action.sa_flags = SA_RESTART | SA_RESETHAND;
        installed[i] = sigaction(kStopSignals[i], &action, &previous[i]) == 0;
    }
}

TStopSignals::~TStopSignals() {
    if (!watching_) return;
    for (std::size_t i = 0; i < kStopSignals.size(); ++i)
        if (installed[i]) {
            sigaction(kStopSignals[i], &previous[i], nullptr);
            installed[i] = false;
        }
    wakeFd = -1;
    anyoneWatching = false;
}

bool TStopSignals::Take() {
    if (!watching_ || !stopRequested) return false;
    stopRequested = 0;
    return true;
}

} // namespace emr::platform::x11
