#include <benchmark/benchmark.h>

#include <string>

#include "LayoutTestClasses.h"
#include "framework/streaming/LayoutReader.h"
#include "framework/streaming/LayoutWriter.h"

using namespace emr;
using namespace emr::test;

namespace {

/// A form with `count` widgets, each with a few values, a 1 KiB glyph and a
/// reference to the widget after it (resolved at the end of loading).
std::string MakeLayout(int count) {
    std::string hex;
    for (int i = 0; i < 1024; ++i)
        hex += "A5";
    std::string text = "object Form1: TTestForm\n  Caption = 'Bench'\n";
    for (int i = 0; i < count; ++i) {
        std::string n = std::to_string(i);
        text += "  object W" + n + ": TTestWidget\n    Left = " + n + "\n    Caption = 'Widget " + n +
                "'\n    Font.Style = [fsBold]\n    Appearance.Font.Height = -13\n    Data = {\n      " + hex +
                "}\n";
        if (i + 1 < count) text += "    Buddy = W" + std::to_string(i + 1) + "\n";
        text += "    OnClick = WidgetClick\n  end\n";
    }
    return text + "end\n";
}

void BM_ReadLayout(benchmark::State& state) {
    RegisterLayoutTestClasses();
    std::string text = MakeLayout(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto* form = new TTestForm(nullptr);
        TLayoutReader::ReadRootFromText(text, form);
        benchmark::DoNotOptimize(form->ComponentCount());
        // Tearing the form down is the owner tree's cost, not the reader's.
        state.PauseTiming();
        TObject::Free(form);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadLayout)->Arg(10)->Arg(100)->Arg(1000);

void BM_WriteLayout(benchmark::State& state) {
    RegisterLayoutTestClasses();
    TTestForm form(nullptr);
    TLayoutReader::ReadRootFromText(MakeLayout(static_cast<int>(state.range(0))), &form);
    for (auto _ : state)
        benchmark::DoNotOptimize(TLayoutWriter::WriteRootToText(&form));
}
BENCHMARK(BM_WriteLayout)->Arg(10)->Arg(100)->Arg(1000);

} // namespace
