// formplay LAYOUT [SCRIPT]: shows a stored layout on the headless backend and
// plays a script of input against it (see FormPlayer.h).
#include <iostream>
#include <string>
#include <vector>

#include "app/AppClasses.h"
#include "formplay/FormPlayer.h"

int main(int argc, char** argv) {
    // The highest layer registers everything below it.
    emr::RegisterAppClasses();
    std::vector<std::string> args(argv + 1, argv + argc);
    return emr::FormPlayMain(args, std::cin, std::cout, std::cerr);
}
