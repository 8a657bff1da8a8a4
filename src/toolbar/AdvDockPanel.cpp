#include "toolbar/AdvDockPanel.h"

#include <algorithm>
#include <cmath>

#include "framework/core/ClassRegistry.h"
#include "framework/core/Exception.h"
#include "framework/graphics/Canvas.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "styling/GradientPainting.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/DockLayoutPersistence.h"

namespace emr {

namespace {
/// A new panel's length until its parent aligns it.
constexpr int kInitialLength = 185;
} // namespace

TAdvDockPanel::TAdvDockPanel(TComponent* owner) : TCustomControl(owner) {
    // The panel covers all of itself from its buffer, so nothing is erased first.
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetDoubleBuffered(true);
    TControl::SetAlign(alTop);
    internalStyler_ = new TCustomAdvToolBarStyler(this);
    internalStyler_->SetName("InternalStyler");
    internalStyler_->AddControl(this);
    currentStyler_ = internalStyler_;
    rows_ = std::make_unique<TRowCollection>(this);
    persistence_ = std::make_unique<TPersistence>();
    persistence_->OnChange = [this](TObject*) { PropagatePersistence(); };
    layoutPersistence_ = std::make_unique<TDockLayoutPersistence>(this);
    // As thick as a panel without rows is, which needs no layout.
    SetBounds(0, 0, kInitialLength, minimumSize_);
}

TAdvDockPanel::~TAdvDockPanel() = default;

void TAdvDockPanel::BeforeDestruction() {
    // Saved while the rows still hold their toolbars (unless one of them going
    // first already saved it).
    if (persistence_->Enabled() && !HasState(csDesigning)) layoutPersistence_->SaveOnDestroy();
    Destroying();
    if (toolBarStyler_) toolBarStyler_->RemoveControl(this);
    toolBarStyler_ = nullptr;
    currentStyler_ = internalStyler_;
    TCustomControl::BeforeDestruction();
}

void TAdvDockPanel::SetAlign(TDockAlign value) {
    if (value == align_) return;
    TLayoutPass pass(this);
    align_ = value;
    static constexpr TAlign kControlAlign[] = {alLeft, alTop, alRight, alBottom};
    TControl::SetAlign(kControlAlign[static_cast<int>(value)]);
    std::vector<TAdvCustomToolBar*> toolBars = dockedToolBars_;
    for (TAdvCustomToolBar* t : toolBars)
        t->SetPosition(value);
    // The toolbars changed their thickness without asking the panel, and rows now
    // run along the other axis.
    if (!Building()) ArrangeRows();
}

void TAdvDockPanel::SetMinimumSize(int value) {
    if (value == minimumSize_ || value <= 0) return;
    minimumSize_ = value;
    UpdatePanelSize();
}

void TAdvDockPanel::SetUseRunTimeHeight(bool value) {
    if (value == useRunTimeHeight_) return;
    useRunTimeHeight_ = value;
    ArrangeRows();
}

TCustomAdvToolBarStyler* TAdvDockPanel::DockStyler() const {
    return Destroying() ? nullptr : currentStyler_;
}

void TAdvDockPanel::SetToolBarStyler(TCustomAdvToolBarStyler* value) {
    if (value && value == toolBarStyler_) return;
    if (toolBarStyler_) {
        toolBarStyler_->RemoveControl(this);
        RemoveFreeNotification(toolBarStyler_);
    }
    toolBarStyler_ = value;
    if (value) {
        value->FreeNotification(this);
        value->AddControl(this);
        currentStyler_ = value;
    } else {
        currentStyler_ = internalStyler_;
    }
    bufferValid_ = false;
    if (!Destroying() && !Loading()) ApplyToolBarStyler();
    ApplyPopupMenuStyler();
    Invalidate();
}

void TAdvDockPanel::ApplyToolBarStyler() {
    std::vector<TAdvCustomToolBar*> toolBars = dockedToolBars_;
    for (TAdvCustomToolBar* t : toolBars) {
        // Re-resolving with the current switch makes the toolbar follow the panel's styler.
        t->SetParentStyler(t->ParentStyler());
        t->Invalidate();
    }
}

void TAdvDockPanel::ApplyPopupMenuStyler() {
    // Styled popup menus take the styler's menu styler when they are drawn; nothing
    // is cached here.
}

void TAdvDockPanel::StylerChanged(int code) {
    if (currentStyler_) SetColor(currentStyler_->DockColor()->Color());
    if (code == scMenuStyler) ApplyPopupMenuStyler();
    bufferValid_ = false;
    Invalidate();
}

void TAdvDockPanel::SetParent(TWinControl* parent) {
    if (parent && (dynamic_cast<TAdvDockPanel*>(parent) || dynamic_cast<TAdvCustomToolBar*>(parent)))
        throw Exception("Invalid Parent");
    TCustomControl::SetParent(parent);
}

void TAdvDockPanel::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == toolBarStyler_) {
        if (Destroying()) {
            toolBarStyler_ = nullptr;
            currentStyler_ = internalStyler_;
        } else {
            SetToolBarStyler(nullptr);
        }
        return;
    }
    auto* t = dynamic_cast<TAdvCustomToolBar*>(component);
    if (!t || std::find(dockedToolBars_.begin(), dockedToolBars_.end(), t) == dockedToolBars_.end()) return;
    if (!Destroying()) {
        RemoveToolBar(t);
        return;
    }
    // While the panel goes too, only forget the toolbar; nothing is arranged any more.
    if (persistence_->Enabled() && !HasState(csDesigning)) layoutPersistence_->SaveOnDestroy();
    for (int i = 0; i < RowCount(); ++i)
        std::erase(RowAt(i)->ToolBars(), t);
    std::erase(dockedToolBars_, t);
    std::erase(invisibleToolBars_, t);
}

void TAdvDockPanel::PropagatePersistence() {
    for (int i = 0; i < RowCount(); ++i)
        for (TAdvCustomToolBar* t : RowAt(i)->ToolBars()) {
            TPersistence* p = t->Persistence();
            p->SetEnabled(persistence_->Enabled());
            p->SetKey(persistence_->Key());
            p->SetLocation(persistence_->Location());
        }
}

void TAdvDockPanel::Loaded() {
    TLayoutPass pass(this);
    // Read with a whole window: its toolbars and their controls are still loading
    // and would each move once more in rows built now, so the rows wait for the
    // end of the load. A panel loaded on its own builds them at once.
    const bool withWindow = HasState(csReading);
    TCustomControl::Loaded();
    // While loading, the styler reference and the toolbars may arrive in any order,
    // so the styler is passed on only now that both are there.
    ApplyToolBarStyler();
    afterLoadPending_ = true;
    if (!withWindow) AfterLoad();
}

void TAdvDockPanel::LoadCompleted() {
    TCustomControl::LoadCompleted();
    if (!afterLoadPending_) return;
    // A vertical panel is as long as the horizontal panels beside it leave room
    // for: they lay out first, so that its rows are laid out once, at their length.
    if (Vertical() && Parent())
        for (TControl* sibling : std::vector<TControl*>(Parent()->ControlList())) {
            auto* panel = dynamic_cast<TAdvDockPanel*>(sibling);
            if (panel && !panel->Vertical() && panel->afterLoadPending_) panel->AfterLoad();
        }
    AfterLoad();
}

bool TAdvDockPanel::LoadsToolBarLayouts() const {
    return afterLoadPending_ && persistence_->Enabled() && !HasState(csDesigning);
}

void TAdvDockPanel::SaveDockLayout() {
    layoutPersistence_->Save();
}

void TAdvDockPanel::WndProc(TMessage& message) {
    if (message.Msg == CM_SCALECHANGED) {
        // The rows keep their DIP geometry; what the toolbars measure for the new
        // device pixels is taken in by one pass over all rows.
        bufferValid_ = false;
        if (!Building()) ArrangeRows();
        Invalidate();
        return;
    }
    TCustomControl::WndProc(message);
}

void TAdvDockPanel::Resize() {
    TCustomControl::Resize();
    bufferValid_ = false;
    if (!Building()) ArrangeRows();
}

std::uint32_t TAdvDockPanel::PanelPixel(int x, int y) {
    return BackgroundPixel(x, y);
}

std::uint32_t TAdvDockPanel::BackgroundPixel(int x, int y) {
    PaintBackground();
    // The device pixel at the logical pixel's top-left corner.
    const int dx = static_cast<int>(std::floor(x * bufferScale_));
    const int dy = static_cast<int>(std::floor(y * bufferScale_));
    if (x < 0 || y < 0 || dx >= buffer_.Width() || dy >= buffer_.Height()) return ColorToPixel(Color());
    return buffer_.ScanLine(dy)[dx];
}

void TAdvDockPanel::PaintBackground() {
    const TSize size = bufferValid_ ? TSize{buffer_.Width(), buffer_.Height()}
                                    : TSize{static_cast<int>(std::lround(Width() * bufferScale_)),
                                            static_cast<int>(std::lround(Height() * bufferScale_))};
    PaintBackground(size, bufferScale_);
}

void TAdvDockPanel::PaintBackground(TSize deviceSize, double scale) {
    deviceSize = {std::max(deviceSize.Width, 0), std::max(deviceSize.Height, 0)};
    if (bufferValid_ && bufferScale_ == scale && buffer_.Width() == deviceSize.Width &&
        buffer_.Height() == deviceSize.Height)
        return;
    buffer_.SetSize(deviceSize.Width, deviceSize.Height);
    bufferScale_ = scale;
    bufferValid_ = true;
    if (buffer_.Empty() || !currentStyler_) return;
    TCanvas& canvas = *buffer_.Canvas();
    canvas.SetScale(scale);
    canvas.ResetClip();
    // Where the panel sits decides how its edges round, so its device rectangle can
    // be a pixel wider than Width() x scale: paint as far as covers the whole buffer.
    const auto cover = [scale](int device, int logical) {
        return scale == 1.0 ? logical : static_cast<int>(std::ceil(device / scale));
    };
    const TRect r{0, 0, cover(deviceSize.Width, Width()), cover(deviceSize.Height, Height())};
    const TGradientBackground* dock = currentStyler_->DockColor();
    if (dock->ColorTo() == clNone) {
        canvas.Pen()->SetColor(dock->Color());
        canvas.Brush()->SetColor(dock->Color());
        canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
        canvas.FillRect(r);
    } else {
        DrawGradient(canvas, dock->Color(), dock->ColorTo(), dock->Steps(), r,
                     dock->Direction() == gdHorizontal);
    }
    const TBitmap* image = currentStyler_->BackGround();
    if (image->Empty()) return;
    switch (currentStyler_->BackGroundDisplay()) {
    case bdTile:
        for (int y = 1; y < Height() - 2; y += image->Height())
            for (int x = 1; x < Width() - 2; x += image->Width())
                canvas.Draw(x, y, image);
        break;
    case bdCenter:
        canvas.Draw((Width() - image->Width()) / 2, (Height() - image->Height()) / 2, image);
        break;
    case bdStretch:
        canvas.StretchDraw(r.Inflate(-2, -2), image);
        break;
    }
}

void TAdvDockPanel::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect device = canvas.DeviceRect(ClientRect());
    PaintBackground({device.Width(), device.Height()}, canvas.Scale());
    if (canvas.Scale() == 1.0)
        canvas.Draw(0, 0, &buffer_);
    else // device pixels one to one: the buffer is as large as the panel's device rectangle
        canvas.StretchDraw(ClientRect(), &buffer_);
}

std::vector<std::string> TAdvDockPanel::DumpRows() const {
    std::vector<std::string> lines;
    for (int i = 0; i < RowCount(); ++i) {
        const TRect& r = RowAt(i)->Rect();
        std::string line = "row " + std::to_string(i) + ": " + std::to_string(r.Left) + "," +
                           std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
                           std::to_string(r.Bottom) + ":";
        for (const TAdvCustomToolBar* t : RowAt(i)->ToolBars())
            line += " " + t->Name();
        lines.push_back(line);
    }
    return lines;
}

} // namespace emr
