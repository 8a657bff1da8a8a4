#pragma once

#include "framework/core/Component.h"
#include "framework/core/Geometry.h"

namespace emr {

class TAdvCustomToolBar;
class TControlSelectorPanel;
class TOptionSelectorWindow;

/// The toolbar's side of its option window: fills the window with the controls
/// that overflowed, places it under the right handle and closes it. The window
/// and its panel are components owned by the toolbar, made on first use.
class TToolBarOptionWindow {
public:
    explicit TToolBarOptionWindow(TAdvCustomToolBar& toolBar);
    ~TToolBarOptionWindow();
    TToolBarOptionWindow(const TToolBarOptionWindow&) = delete;
    TToolBarOptionWindow& operator=(const TToolBarOptionWindow&) = delete;

    /// Creates or refills the window and its panel.
    void Build();
    /// Builds the window and shows it at `at`, or, unless `useGivenPoint`, below
    /// the toolbar's right end kept on the work area and monitor.
    void Show(TPoint at, bool useGivenPoint);
    void Close();
    bool Visible() const;
    /// A child of the toolbar changed while the window is open.
    void ChildChanged();

    TOptionSelectorWindow* Window() const { return window_.Get(); }
    TControlSelectorPanel* Panel() const { return panel_.Get(); }

private:
    TPoint DefaultPlace() const;

    TAdvCustomToolBar& toolBar_;
    TComponentRef<TOptionSelectorWindow> window_;
    TComponentRef<TControlSelectorPanel> panel_;
};

} // namespace emr
