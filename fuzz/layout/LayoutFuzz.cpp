// Feeds arbitrary text to the layout reader. Besides crashes and sanitizer
// reports it checks what the reader promises: every failure is reported with a
// line and column, a failed load leaves no component of its own behind, and a
// successful one writes out as a layout that reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "LayoutTestClasses.h"
#include "framework/core/Exception.h"
#include "framework/streaming/LayoutReader.h"
#include "framework/streaming/LayoutWriter.h"

using namespace emr;
using namespace emr::test;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool Located(const Exception& e) {
    return std::strncmp(e.what(), "line ", 5) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = (RegisterLayoutTestClasses(), true);
    (void)registered;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    gLoadedOrder.clear();
    int before = gLiveComponents;

    {
        TComponent owner(nullptr);
        try {
            TLayoutReader::CreateFromText(text, &owner);
        } catch (const Exception& e) {
            Check(Located(e));
            Check(owner.ComponentCount() == 0);
        }
    }
    Check(gLiveComponents == before);

    {
        TTestForm form(nullptr);
        try {
            TLayoutReader::ReadRootFromText(text, &form);
            // Whatever loaded must hold together: fire the bound events.
            if (form.OnCreate) form.OnCreate(&form);
            for (TComponent* c : form.Components())
                if (auto* w = dynamic_cast<TTestWidget*>(c); w && w->OnClick) w->OnClick(w);
            // What loaded writes out as a layout that reads back to the same tree.
            std::string written = TLayoutWriter::WriteRootToText(&form);
            TTestForm copy(nullptr);
            try {
                TLayoutReader::ReadRootFromText(written, &copy);
            } catch (const Exception&) {
                Check(false);
            }
            Check(TLayoutWriter::WriteRootToText(&copy) == written);
        } catch (const Exception& e) {
            Check(Located(e));
            Check(form.ComponentCount() == 0);
            Check(!form.Widget1 && !form.Widget2 && !form.Styler1);
        }
    }
    Check(gLiveComponents == before);
    return 0;
}
