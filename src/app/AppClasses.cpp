#include "app/AppClasses.h"

#include "app/Unit1.h"
#include "framework/core/ClassRegistry.h"
#include "framework/forms/Edit.h"
#include "framework/forms/FormsClasses.h"
#include "framework/forms/GroupBox.h"
#include "framework/forms/Label.h"
#include "framework/forms/Panel.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/ToolbarClasses.h"

namespace emr {

void RegisterAppClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterFormsClasses();
    RegisterToolbarClasses();
    RegisterDockPanelClasses();

    TClassRegistrar<TForm1>("TForm")
        .Field("AdvDockPanel1", &TForm1::AdvDockPanel1)
        .Field("AdvToolBar1", &TForm1::AdvToolBar1)
        .Field("AdvToolBarButton1", &TForm1::AdvToolBarButton1)
        .Field("AdvToolBarButton2", &TForm1::AdvToolBarButton2)
        .Field("Panel1", &TForm1::Panel1)
        .Field("GroupBox2", &TForm1::GroupBox2)
        .Field("Label2", &TForm1::Label2)
        .Field("Label3", &TForm1::Label3)
        .Field("Label4", &TForm1::Label4)
        .Field("Edit1", &TForm1::Edit1)
        .Field("Edit3", &TForm1::Edit3)
        .Field("Edit4", &TForm1::Edit4)
        .Field("AdvToolBarOfficeStyler3", &TForm1::AdvToolBarOfficeStyler3)
        .Method("FormCreate", &TForm1::FormCreate)
        .Method("FormShow", &TForm1::FormShow)
        .Method("AdvToolBarButton1Click", &TForm1::AdvToolBarButton1Click)
        .Method("AdvToolBarButton2Click", &TForm1::AdvToolBarButton2Click);
}

} // namespace emr
