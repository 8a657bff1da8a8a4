#pragma once

namespace emr {

/// The pressable parts of a toolbar's own chrome.
enum class TToolBarPart { None, RightHandle, OptionButton, CloseButton, Indicator };

/// Which of a toolbar's own parts the pointer is over, which one is pressed, and
/// how far the caption-bar indicator has faded in or out. Every change goes
/// through one of the transitions below, so the input handlers cannot leave two
/// parts hot or a part pressed after its press has ended. It owns no timer and
/// paints nothing: the toolbar compares the states before and after a transition
/// to know what to repaint and whether the fade timer must run.
///
/// | transition     | hot                     | down             | indicator          |
/// |----------------|-------------------------|------------------|--------------------|
/// | Hover(p)       | p                       | -                | -                  |
/// | HoverIndicator | -                       | -                | lit, fades in/out  |
/// | Press(p)       | -                       | p                | Indicator: fades in|
/// | Release()      | None if it was Close    | None             | fades out if down  |
/// | Leave(held)    | None                    | None unless held | fades out unless held |
/// | Cancel()       | None                    | None             | fades out if lit   |
/// | Forget(p)      | None if p               | None if p        | -                  |
class TToolBarPartStates {
public:
    TToolBarPart Hot() const { return hot_; }
    TToolBarPart Down() const { return down_; }
    /// The indicator stays lit from the pointer's arrival until its fade-out ends.
    bool IndicatorLit() const { return indicatorLit_; }
    bool Fading() const { return fading_; }
    int FadePercent() const { return fadePercent_; }
    /// +step while fading in, -step while fading out, 0 before the first fade.
    int FadeStep() const { return fadeStep_; }

    /// The pointer is over `part` (None: over none of the parts). The indicator
    /// is not hovered this way: see HoverIndicator.
    void Hover(TToolBarPart part);
    /// The pointer is over the caption-bar indicator or not: arriving lights it
    /// and fades it in, leaving a lit one fades it out.
    void HoverIndicator(bool over);
    /// A press on `part`; false when that part was already down.
    bool Press(TToolBarPart part);
    /// The press ends; returns the part that was down (None when none was).
    TToolBarPart Release();
    /// The pointer left the toolbar. While a press is `held` by the toolbar's
    /// capture its release still belongs here, so only the hot part goes.
    void Leave(bool held);
    /// Nothing is hot or down any more; a lit indicator fades out.
    void Cancel();
    /// `part` is neither hot nor down any more (its action took over the pointer).
    void Forget(TToolBarPart part);
    /// One step of the running fade; true when the fade has ended with it.
    bool FadeTick();

    /// What is wrong, or empty: a part hot that cannot be, a fade outside its range.
    const char* Check() const;

private:
    void StartFade(int step);

    TToolBarPart hot_ = TToolBarPart::None;
    TToolBarPart down_ = TToolBarPart::None;
    bool indicatorLit_ = false;
    bool fading_ = false;
    int fadePercent_ = 0;
    int fadeStep_ = 0;
};

} // namespace emr
