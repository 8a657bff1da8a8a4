// workbench [--help] [--version] [--report] [--right-to-left]: the toolbar system's example window in a
// real X11 window; --right-to-left lays it out as for a right-to-left language.
// Its toolbars' places and the chosen look are kept in
// $XDG_CONFIG_HOME/workbench.ini (~/.config when the variable is unset) and come
// back at the next start.
//
// With --report, standard output carries the state a driver needs (see
// WorkbenchReport.h), polled and written again whenever it changes, and one line
//   chosen CAPTION
// whenever a command without a window of its own runs.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "DemoHost.h"
#include "Workbench.h"
#include "WorkbenchReport.h"
#include "framework/forms/Application.h"
#include "framework/forms/CommandLine.h"
#include "framework/forms/Form.h"

using namespace emr;

int main(int argc, char** argv) {
    const TProgramUsage usage{
        "workbench",
        "Shows the toolbar system's example window: dock panels on every edge, toolbars to drag, float and "
        "close, and a choice of looks, all kept for the next start.",
        {{"--report", "write the window's state to standard output whenever it changes"},
         {"--right-to-left", "lay the window out right to left, as for a right-to-left language"}}};
    std::vector<std::string> given;
    if (std::optional<int> status = ReadCommandLine(argc, argv, usage, stdout, stderr, &given))
        return *status;
    const auto named = [&given](const char* option) {
        return std::find(given.begin(), given.end(), option) != given.end();
    };
    const bool report = named("--report");
    const bool rightToLeft = named("--right-to-left");
    // Freeing the window saves the toolbars' places.
    return RunDemoOnX11("workbench", [report, rightToLeft](TApplication* app) {
        TCustomForm* form = CreateWorkbench(app, rightToLeft);
        if (report) ReportChanges(form, [form] { return DescribeWorkbench(*form); });
        return form;
    });
}
