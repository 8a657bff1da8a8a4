#pragma once

namespace emr::platform::x11 {

/// Turns SIGTERM, SIGINT and SIGHUP (what a desktop session, a terminal and a
/// service manager send to stop a program) into a request the event loop sees.
/// The handler only notes the signal and writes a byte to the loop's wake pipe;
/// the loop closes the main form as the user would, so what it saves is saved.
/// Signals that the program or its parent already set to something other than
/// the default (an ignored SIGHUP under nohup, a handler of the program's own)
/// are left alone. A second signal of the same kind ends the program at once.
class TStopSignals {
public:
    /// Watches the signals on behalf of the loop woken through `wakeFd`. Only one
    /// object watches at a time; a second one watches nothing.
    explicit TStopSignals(int wakeFd);
    ~TStopSignals();
    TStopSignals(const TStopSignals&) = delete;
    TStopSignals& operator=(const TStopSignals&) = delete;

    /// True once for each arrival of a stop signal since the last call.
    bool Take();

private:
    bool watching_ = false;
};

} // namespace emr::platform::x11
