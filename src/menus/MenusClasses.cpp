#include "menus/MenusClasses.h"

#include "framework/core/ClassRegistry.h"
#include "framework/forms/FormsClasses.h"
#include "menus/AdvPopupMenu.h"
#include "styling/AdvMenuStyler.h"
#include "styling/StylingClasses.h"

namespace emr {

void RegisterMenusClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterFormsClasses();
    RegisterStylingClasses();
    TClassRegistrar<TAdvPopupMenu>("TPopupMenu")
        .ComponentRef<TCustomAdvMenuStyler>("MenuStyler", &TAdvPopupMenu::MenuStyler,
                                            &TAdvPopupMenu::SetMenuStyler);
}

} // namespace emr
