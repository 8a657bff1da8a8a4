#include "app/Unit1.h"

#include "app/AppEnvironment.h"
#include "app/DateTimeFormat.h"
#include "app/FormatPatch.h"
#include "framework/core/Exception.h"
#include "framework/forms/Application.h"
#include "framework/forms/Edit.h"

namespace emr {

TForm1::TForm1(TComponent* owner) : TForm(owner) {}

void TForm1::FormCreate(TObject* /*sender*/) {
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetWindowState(wsNormal);
    SetPosition(poMainFormCenter);
}

void TForm1::FormShow(TObject* /*sender*/) {
    const TAppEnvironment& environment = AppEnvironment();
    const TStartupFormats& formats = environment.Formats;
    const std::time_t now = environment.Now();
    std::tm local{};
    ::localtime_r(&now, &local);
    Edit4->SetText(FormatDateTimePicture(formats.ShortDateFormat + " " + formats.LongTimeFormat, local,
                                         formats.TimeAMString, formats.TimePMString));
    Edit3->SetText(formats.TimeAMString);
    Edit1->SetText(formats.TimePMString);
}

void TForm1::AdvToolBarButton1Click(TObject* /*sender*/) {
    TLocalePlatform* platform = AppEnvironment().Platform;
    if (!platform) throw Exception("No locale platform is installed");
    RunApplySequence(*platform, static_cast<HWND>(NativeWindow()), [this] { Close(); });
}

void TForm1::AdvToolBarButton2Click(TObject* /*sender*/) {
    Application->Terminate();
}

} // namespace emr
