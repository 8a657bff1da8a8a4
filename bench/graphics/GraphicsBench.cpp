// Speed of the painting paths a toolbar repaint goes through: text measurement and
// output, banded gradients made of rectangles, bitmap drawing and BMP decoding.
#include <benchmark/benchmark.h>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/VectorGraphics.h"

namespace emr {
namespace {

void BM_TextWidthCached(benchmark::State& state) {
    TCanvas canvas;
    canvas.Font()->SetName("Tahoma");
    for (auto _ : state)
        benchmark::DoNotOptimize(canvas.TextWidth("确定"));
}
BENCHMARK(BM_TextWidthCached);

void BM_TextWidthUncached(benchmark::State& state) {
    TCanvas canvas;
    int n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(canvas.TextWidth("Caption " + std::to_string(n++)));
}
BENCHMARK(BM_TextWidthUncached);

void BM_DrawTextCaption(benchmark::State& state) {
    TBitmap bitmap(34, 41);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    for (auto _ : state) {
        TRect r{0, 20, 34, 41};
        canvas->DrawText("确定", r, DT_CENTER | DT_TOP | DT_SINGLELINE);
    }
}
BENCHMARK(BM_DrawTextCaption);

void BM_RotatedTextOut(benchmark::State& state) {
    TBitmap bitmap(20, 100);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    canvas->Font()->SetOrientation(-900);
    for (auto _ : state)
        canvas->TextOut(18, 2, "Untitled");
}
BENCHMARK(BM_RotatedTextOut);

/// A 40-band gradient over a 34 x 41 button face, as rectangles.
void BM_BandedGradient(benchmark::State& state) {
    TBitmap bitmap(34, 41);
    TCanvas* canvas = bitmap.Canvas();
    for (auto _ : state)
        for (int i = 0; i < 40; ++i) {
            canvas->Pen()->SetColor(RGB(static_cast<std::uint8_t>(i * 6), 100, 200));
            canvas->Brush()->SetColor(canvas->Pen()->Color());
            canvas->Rectangle(0, i, 34, i + 2);
        }
}
BENCHMARK(BM_BandedGradient);

void BM_AntiAliasedRoundFrame(benchmark::State& state) {
    TBitmap bitmap(34, 41);
    for (auto _ : state) {
        TVectorGraphics g(*bitmap.Canvas());
        g.SetSmoothingMode(TSmoothingMode::AntiAlias);
        TVectorPath path;
        path.AddArc(0, 0, 6, 6, 180, 90);
        path.AddArc(27, 0, 6, 6, 270, 90);
        path.AddArc(27, 34, 6, 6, 0, 90);
        path.AddArc(0, 34, 6, 6, 90, 90);
        path.CloseFigure();
        g.DrawPath(TVectorPen(0xFF3399FF), path);
    }
}
BENCHMARK(BM_AntiAliasedRoundFrame);

void BM_TransparentGlyphDraw(benchmark::State& state) {
    TBitmap glyph(16, 16), target(34, 41);
    glyph.SetTransparent(true);
    for (auto _ : state)
        target.Canvas()->Draw(9, 2, &glyph);
}
BENCHMARK(BM_TransparentGlyphDraw);

void BM_DecodeBmp(benchmark::State& state) {
    TBitmap source(static_cast<int>(state.range(0)), static_cast<int>(state.range(0)));
    std::vector<std::uint8_t> file = source.SaveToBmp();
    TBitmap target;
    for (auto _ : state)
        target.LoadFromBmp(file);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_DecodeBmp)->Arg(16)->Arg(256);

} // namespace
} // namespace emr

BENCHMARK_MAIN();
