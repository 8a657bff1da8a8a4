#include "menus/MenusClasses.h"

#include "framework/core/ClassRegistry.h"
#include "framework/forms/FormsClasses.h"
#include "framework/graphics/ImageList.h"
#include "menus/AdvMainMenu.h"
#include "menus/AdvPopupMenu.h"
#include "menus/PopupMenuDump.h"
#include "styling/AdvMenuStyler.h"
#include "styling/StylingClasses.h"

namespace emr {

void RegisterMenusClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterFormsClasses();
    RegisterStylingClasses();
    RegisterPopupMenuDump();
    TClassRegistrar<TAdvPopupMenu>("TPopupMenu")
        .ComponentRef<TCustomAdvMenuStyler>("MenuStyler", &TAdvPopupMenu::MenuStyler,
                                            &TAdvPopupMenu::SetMenuStyler);
    TClassRegistrar<TAdvMainMenu>("TMainMenu")
        .ComponentRef<TCustomAdvMenuStyler>("MenuStyler", &TAdvMainMenu::MenuStyler,
                                            &TAdvMainMenu::SetMenuStyler)
        .ComponentRef<TCustomImageList>("DisabledImages", &TAdvMainMenu::DisabledImages,
                                        &TAdvMainMenu::SetDisabledImages);
}

} // namespace emr
