#include "framework/forms/LayoutSaving.h"

#include <utility>
#include <vector>

namespace emr {

namespace {

struct TRegisteredSaver {
    int Id = 0;
    TLayoutSaver Saver;
    bool WhenFormGoes = false;
};

std::vector<TRegisteredSaver>& Savers() {
    static std::vector<TRegisteredSaver> savers;
    return savers;
}

void Run(TComponent& root, bool formGoes) {
    // A copy: a saver may register or remove another.
    const std::vector<TRegisteredSaver> savers = Savers();
    for (const TRegisteredSaver& s : savers)
        if (!formGoes || s.WhenFormGoes) s.Saver(root);
}

} // namespace

int AddLayoutSaver(TLayoutSaver saver, bool whenFormGoes) {
    static int nextId = 0;
    Savers().push_back({++nextId, std::move(saver), whenFormGoes});
    return nextId;
}

void RemoveLayoutSaver(int id) {
    std::erase_if(Savers(), [id](const TRegisteredSaver& s) { return s.Id == id; });
}

void SaveLayouts(TComponent& root) {
    Run(root, false);
}

void SaveLayoutsOfGoingForm(TComponent& form) {
    Run(form, true);
}

} // namespace emr
