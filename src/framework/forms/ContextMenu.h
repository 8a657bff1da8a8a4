#pragma once

namespace emr {

class TApplication;

/// Makes a right-button release over a control pop up the nearest PopupMenu
/// (the control's own or a parent's) whose AutoPopup is on, at the pointer, with
/// the control as its PopupComponent. The control receives the release first.
/// Watches every message `app` takes; installing again replaces the watch.
void InstallContextMenus(TApplication* app);
void UninstallContextMenus();

} // namespace emr
