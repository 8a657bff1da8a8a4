#pragma once

#include <string>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"

namespace emr::bench {

/// A window of N toolbars with 20 buttons each on four dock panels, read from a
/// stored form layout as a program's window is, on the headless backend. Every
/// panel and toolbar keeps its layout in one INI file in a fresh folder, saved
/// once on construction so that each later window reads a real layout.
class TLargeWindow {
public:
    explicit TLargeWindow(int toolBars);
    ~TLargeWindow();
    TLargeWindow(const TLargeWindow&) = delete;
    TLargeWindow& operator=(const TLargeWindow&) = delete;
    /// Reads the window and shows it to its first painted frame.
    void Open();
    /// Frees the window, which saves its layout.
    void Close();

private:
    std::string dir_;
    std::string layout_;
    TApplication* app_ = nullptr;
    TForm* form_ = nullptr;
};

} // namespace emr::bench
