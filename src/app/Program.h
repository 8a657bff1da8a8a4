#pragma once

namespace emr {

class TForm1;
class TLinuxLocalePlatform;

/// The name of the window message the toolbar library's compact windows post when they hide.
inline constexpr const char* kCompactWindowHideMessage = "TBCompactWinHide";

/// Start-up after the backend is installed: registers the compact-window message
/// and the classes, initialises the application, gives it the stored-layout
/// reader and TForm1's compiled-in layout, and creates Form1 as the main window
/// (its OnCreate has run). The loop is left to the caller (Application->Run()).
TForm1* StartApplication();

/// Connects the Linux locale platform to the running application: broadcasts
/// reach every form, message boxes are the application's modal box.
void ConnectLocalePlatform(TLinuxLocalePlatform& platform);

/// Frees the application and everything it owns (the forms).
void ShutDownApplication();

} // namespace emr
