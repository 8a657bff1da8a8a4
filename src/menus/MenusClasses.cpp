#include "menus/MenusClasses.h"

#include "framework/core/ClassRegistry.h"
#include "menus/AdvPopupMenu.h"
#include "styling/AdvMenuStyler.h"
#include "styling/StylingClasses.h"

namespace emr {

void RegisterMenusClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterStylingClasses();
    TClassRegistrar<TAdvPopupMenu>("TPopupMenu")
        .ComponentRef<TCustomAdvMenuStyler>("MenuStyler", &TAdvPopupMenu::MenuStyler,
                                            &TAdvPopupMenu::SetMenuStyler);
}

} // namespace emr
