// workbench [--report]: the toolbar system's example window in a real X11 window.
// Its toolbars' places and the chosen look are kept in
// $XDG_CONFIG_HOME/workbench.ini (~/.config when the variable is unset) and come
// back at the next start.
//
// With --report, standard output carries the state a driver needs (see
// WorkbenchReport.h), polled and written again whenever it changes, and one line
//   chosen CAPTION
// whenever a command without a window of its own runs.
#include <cstdio>
#include <cstring>

#include "DemoHost.h"
#include "Workbench.h"
#include "WorkbenchReport.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"

using namespace emr;

int main(int argc, char** argv) {
    bool report = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--report") == 0) {
            report = true;
        } else {
            std::fprintf(stderr, "usage: workbench [--report]\n");
            return 2;
        }
    }
    // Freeing the window saves the toolbars' places.
    return RunDemoOnX11("workbench", [report](TApplication* app) {
        TCustomForm* form = CreateWorkbench(app);
        if (report) ReportChanges(form, [form] { return DescribeWorkbench(*form); });
        return form;
    });
}
