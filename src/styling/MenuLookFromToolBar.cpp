#include "styling/MenuLookFromToolBar.h"

#include "styling/AdvMenuStyler.h"
#include "styling/ButtonAppearance.h"
#include "styling/CustomAdvToolBarStyler.h"

namespace emr {

namespace {

/// Sets a gradient pair only when the source has both ends: half a pair would
/// paint a gradient into whatever the other end happened to be.
template <class Record>
void Pair(Record* record, void (Record::*setFrom)(TColor), void (Record::*setTo)(TColor), TColor from,
          TColor to) {
    if (from == clNone || to == clNone) return;
    (record->*setFrom)(from);
    (record->*setTo)(to);
}

template <class Record> void One(Record* record, void (Record::*set)(TColor), TColor value) {
    if (value != clNone) (record->*set)(value);
}

} // namespace

void MatchMenuLookToToolBar(TCustomAdvMenuStyler& menu, const TCustomAdvToolBarStyler& styler) {
    const TButtonAppearance* b = styler.ButtonAppearance();

    TMenuSelectedItemAppearance* selected = menu.SelectedItem();
    Pair(selected, &TMenuSelectedItemAppearance::SetColor, &TMenuSelectedItemAppearance::SetColorTo,
         b->ColorHot(), b->ColorHotTo());
    One(selected, &TMenuSelectedItemAppearance::SetBorderColor, b->BorderHotColor());
    One(selected, &TMenuSelectedItemAppearance::SetTextColor, b->CaptionTextColorHot());
    Pair(selected, &TMenuSelectedItemAppearance::SetCheckColor, &TMenuSelectedItemAppearance::SetCheckColorTo,
         b->ColorDown(), b->ColorDownTo());
    One(selected, &TMenuSelectedItemAppearance::SetCheckBorder, b->BorderDownColor());

    TMenuIconBarAppearance* bar = menu.IconBar();
    Pair(bar, &TMenuIconBarAppearance::SetColor, &TMenuIconBarAppearance::SetColorTo, styler.Color()->Color(),
         styler.Color()->ColorTo());
    Pair(bar, &TMenuIconBarAppearance::SetCheckColor, &TMenuIconBarAppearance::SetCheckColorTo,
         b->ColorChecked(), b->ColorCheckedTo());
    One(bar, &TMenuIconBarAppearance::SetCheckBorder, b->BorderCheckedColor());
}

} // namespace emr
