#pragma once

#include <functional>

namespace emr {

class TComponent;

/// Saves what the components under `root` keep of their layout between runs (where
/// a window's toolbars are), as their destruction would: errors are reported, not
/// thrown. Layers whose controls keep such layouts register one.
using TLayoutSaver = std::function<void(TComponent& root)>;
/// Registers a saver for every later SaveLayouts; with `whenFormGoes` also for every
/// form that is destroyed. Returns an id for RemoveLayoutSaver.
int AddLayoutSaver(TLayoutSaver saver, bool whenFormGoes = false);
void RemoveLayoutSaver(int id);
/// Runs every registered saver on `root` (a form and everything it owns).
void SaveLayouts(TComponent& root);
/// Runs the savers registered for forms that go on `form`, which is being
/// destroyed and still whole.
void SaveLayoutsOfGoingForm(TComponent& form);

} // namespace emr
