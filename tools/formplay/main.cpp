// formplay LAYOUT [SCRIPT]: shows a stored layout on the headless backend and
// plays a script of input against it (see FormPlayer.h).
#include <iostream>
#include <string>
#include <vector>

#include "framework/forms/FormPlayer.h"
#include "framework/forms/FormsClasses.h"

#if defined(EMR_FORMPLAY_APP)
#include "app/AppClasses.h"
#elif defined(EMR_FORMPLAY_TOOLBAR)
#include "toolbar/ToolbarClasses.h"
#endif

int main(int argc, char** argv) {
    // The highest layer linked in registers everything below it.
#if defined(EMR_FORMPLAY_APP)
    emr::RegisterAppClasses();
#elif defined(EMR_FORMPLAY_TOOLBAR)
    emr::RegisterToolbarClasses();
#else
    emr::RegisterFormsClasses();
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    return emr::FormPlayMain(args, std::cin, std::cout, std::cerr);
}
