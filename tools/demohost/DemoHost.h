#pragma once

// What the demo programs share: a window on the X11 backend with the toolbar
// classes registered, and a report of their state on standard output that a
// driver (an end-to-end test, or a person with xdotool) can follow.

#include <functional>
#include <string>

namespace emr {

class TApplication;
class TComponent;
class TCustomForm;

/// Installs the X11 backend (or says on standard error why there is no display),
/// registers the toolbar classes, makes the application and its main form with
/// `build`, runs the message loop and frees the application, which frees the
/// window (and so saves what it saves). Returns the exit status: 1, with a line
/// naming `program`, when anything fails.
int RunDemoOnX11(const char* program, const std::function<TCustomForm*(TApplication*)>& build);

/// Writes `describe()` to standard output every 20 ms when it has changed, followed
/// by a line end unless the text brings its own; the timer belongs to `owner`.
void ReportChanges(TComponent* owner, std::function<std::string()> describe);

} // namespace emr
