#include "framework/accessibility/AccessibleTree.h"

#include <algorithm>
#include <memory>

#include "framework/controls/AccessibleChanges.h"
#include "framework/controls/Control.h"
#include "framework/controls/WinControl.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/Screen.h"
#include "framework/graphics/Canvas.h"
#include "framework/platform/Backend.h"

namespace emr {

using platform::AccessibleId;
using platform::TAccessibleEvent;
using platform::TAccessibleNode;

namespace {

/// Screen rectangles as assistive technology measures them: device pixels. The
/// framework's coordinates are device pixels at a window scale of 1.0; this is
/// the one place that turns the one into the other.
TRect ScreenDeviceRect(const TRect& screen) {
    return screen;
}

TPoint ScreenFromDevice(TPoint device) {
    return device;
}

/// The control's bounds in screen coordinates (a form's whole window, frame included).
TRect ScreenBounds(const TControl& control) {
    if (!control.Parent()) return control.BoundsRect();
    const TPoint origin = control.Parent()->ClientToScreen({control.Left(), control.Top()});
    return TRect::FromBounds(origin.X, origin.Y, control.Width(), control.Height());
}

const TCustomForm* FormOf(const TControl& control) {
    return dynamic_cast<const TCustomForm*>(control.TopLevel());
}

bool HasFocus(const TControl& control) {
    const TCustomForm* form = FormOf(control);
    if (!form || !form->Active()) return false;
    const TWinControl* focus = form->ActiveControl();
    return focus && focus->AccessibleFocus() == &control;
}

} // namespace

TAccessibleTree::TAccessibleTree(TComponent* owner) : TComponent(owner) {
    TAccessibleChanges::SetListener(
        [this](TAccessibleEvent event, const TComponent* what) { Changed(event, what); });
}

TAccessibleTree::~TAccessibleTree() = default;

void TAccessibleTree::BeforeDestruction() {
    TAccessibleChanges::SetListener(nullptr);
    for (auto& [id, component] : components_)
        component->RemoveFreeNotification(this);
    components_.clear();
    ids_.clear();
    partOwners_.clear();
    TComponent::BeforeDestruction();
}

AccessibleId TAccessibleTree::IdOf(const TComponent* component) {
    if (!component) return 0;
    if (auto found = ids_.find(component); found != ids_.end()) return found->second;
    auto* mutableComponent = const_cast<TComponent*>(component);
    const AccessibleId id = nextId_++;
    ids_.emplace(component, id);
    components_.emplace(id, mutableComponent);
    mutableComponent->FreeNotification(this);
    return id;
}

TComponent* TAccessibleTree::ComponentOf(AccessibleId id) const {
    auto found = components_.find(id);
    return found == components_.end() ? nullptr : found->second;
}

void TAccessibleTree::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    auto found = ids_.find(component);
    if (found == ids_.end()) return;
    components_.erase(found->second);
    ids_.erase(found);
    partOwners_.erase(component);
    // A part described by a control that is going goes with it.
    std::erase_if(partOwners_, [component](const auto& entry) { return entry.second == component; });
}

void TAccessibleTree::Changed(TAccessibleEvent event, const TComponent* what) {
    // A component on its way out has no node left to report.
    if (what->HasState(csDestroying) || !platform::Backend::Installed()) return;
    // A change of a node no bridge has asked about tells nobody anything: its
    // parent's children, the focus or a window's appearance introduce it. Skipping
    // those keeps a program that nobody reads (all of start-up) free of ids.
    const bool introduces = event == TAccessibleEvent::FocusChanged ||
                            event == TAccessibleEvent::WindowShown || event == TAccessibleEvent::WindowHidden;
    if (!introduces && !ids_.contains(what)) return;
    platform::Backend::Current().NotifyAccessible(event, IdOf(what));
}

std::vector<platform::WindowId> TAccessibleTree::TopLevelWindows() {
    std::vector<platform::WindowId> windows;
    for (const TCustomForm* form : Screen().FormList())
        if (form->Showing() && form->NativeWindow() != 0) windows.push_back(form->NativeWindow());
    return windows;
}

AccessibleId TAccessibleTree::WindowRoot(platform::WindowId window) {
    if (window == 0) return 0;
    for (const TCustomForm* form : Screen().FormList())
        if (form->NativeWindow() == window) return IdOf(form);
    return 0;
}

const TControl* TAccessibleTree::PartOwner(const TComponent* component) const {
    auto found = partOwners_.find(component);
    return found == partOwners_.end() ? nullptr : found->second;
}

std::optional<TAccessibleNode> TAccessibleTree::Describe(AccessibleId id) {
    const TComponent* component = ComponentOf(id);
    if (!component) return std::nullopt;
    if (const TControl* owner = PartOwner(component)) return DescribePart(*owner, *component);
    if (const auto* control = dynamic_cast<const TControl*>(component)) return DescribeControl(*control);
    return std::nullopt;
}

TAccessibleNode TAccessibleTree::DescribeControl(const TControl& control) {
    TAccessibleNode node;
    node.Role =
        control.AsWinControl() ? platform::TAccessibleRole::Panel : platform::TAccessibleRole::Unknown;
    node.Name = StripHotkey(control.Caption());
    if (control.Enabled()) node.States |= platform::asEnabled;
    if (control.Visible()) node.States |= platform::asVisible;
    if (control.Showing()) node.States |= platform::asShowing;
    if (const TWinControl* win = control.AsWinControl(); win && win->Parent() && win->CanFocus())
        node.States |= platform::asFocusable;
    if (HasFocus(control)) node.States |= platform::asFocused;
    control.DescribeAccessible(node);

    node.Extents = ScreenDeviceRect(ScreenBounds(control));
    const TCustomForm* form = FormOf(control);
    node.Window = form ? form->NativeWindow() : 0;
    node.Parent = IdOf(control.Parent());
    if (const TWinControl* win = control.AsWinControl())
        for (const TControl* child : win->ControlList())
            node.Children.push_back(IdOf(child));
    for (const TComponent* part : control.AccessibleParts()) {
        partOwners_[part] = &control;
        node.Children.push_back(IdOf(part));
    }
    return node;
}

TAccessibleNode TAccessibleTree::DescribePart(const TControl& owner, const TComponent& part) {
    TAccessibleNode node;
    owner.DescribeAccessiblePart(&part, node);
    const TPoint origin = owner.ClientToScreen({node.Extents.Left, node.Extents.Top});
    node.Extents =
        ScreenDeviceRect(TRect::FromBounds(origin.X, origin.Y, node.Extents.Width(), node.Extents.Height()));
    const TCustomForm* form = FormOf(owner);
    node.Window = form ? form->NativeWindow() : 0;
    node.Parent = IdOf(&owner);
    return node;
}

AccessibleId TAccessibleTree::DeepestAt(TControl& control, TPoint screen) {
    for (TComponent* part : control.AccessibleParts()) {
        partOwners_[part] = &control;
        if (DescribePart(control, *part).Extents.Contains(screen)) return IdOf(part);
    }
    if (TWinControl* win = control.AsWinControl()) {
        const std::vector<TControl*>& children = win->ControlList();
        // The topmost child first, as the pointer would find it.
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            if ((*child)->Showing() && ScreenDeviceRect(ScreenBounds(**child)).Contains(screen))
                return DeepestAt(**child, screen);
    }
    return IdOf(&control);
}

AccessibleId TAccessibleTree::At(TPoint screen) {
    const TPoint point = ScreenFromDevice(screen);
    TCustomForm* form = Screen().FormAt(point);
    if (!form) return 0;
    return DeepestAt(*form, screen);
}

AccessibleId TAccessibleTree::Focused() {
    const TCustomForm* form = Screen().ActiveForm();
    if (!form) return 0;
    const TWinControl* focus = form->ActiveControl();
    return IdOf(focus ? focus->AccessibleFocus() : form);
}

bool TAccessibleTree::DoAction(AccessibleId id, int index) {
    const std::optional<TAccessibleNode> node = Describe(id);
    if (!node || index < 0 || index >= static_cast<int>(node->Actions.size()) || !Application) return false;
    // An action may open a modal window, which must not run inside the bridge's
    // call; the loop runs it once the caller has returned.
    std::weak_ptr<void> alive = LifeToken();
    Application->PostCall([this, alive, id, index] {
        if (!alive.expired()) RunAction(id, index);
    });
    return true;
}

bool TAccessibleTree::RunAction(AccessibleId id, int index) {
    TComponent* component = ComponentOf(id);
    if (!component) return false;
    if (const TControl* owner = PartOwner(component))
        return const_cast<TControl*>(owner)->DoAccessibleAction(component, index);
    auto* control = dynamic_cast<TControl*>(component);
    return control && control->DoAccessibleAction(nullptr, index);
}

} // namespace emr
