// DrawGradient, BlendColor and Draw3DGripLine run inside every paint: they must
// not touch the heap. Counts operator new calls while they run.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "styling/GradientPainting.h"

namespace {

std::atomic<bool> gCounting{false};
std::atomic<int> gAllocations{0};

} // namespace

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    if (gCounting) ++gAllocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace emr {
namespace {

TEST(PaintingPrimitives, AllocateNothing) {
    TBitmap bitmap(400, 50);
    TCanvas& canvas = *bitmap.Canvas();
    DrawGradient(canvas, clBtnFace, clWhite, 8, {0, 0, 400, 50}, true); // warm up lazily built state
    gAllocations = 0;
    gCounting = true;
    DrawGradient(canvas, clBtnFace, RGB(10, 200, 30), 64, {0, 0, 400, 50}, true);
    DrawGradient(canvas, clHighlight, clWhite, 40, {3, 3, 300, 40}, false);
    const TColor mixed = BlendColor(clBtnFace, clHighlight, 35);
    Draw3DGripLine(canvas, {5, 40}, {5, 4}, true, true);
    Draw3DGripLine(canvas, {5, 10}, {90, 10}, false, false);
    gCounting = false;
    EXPECT_EQ(gAllocations.load(), 0);
    EXPECT_NE(mixed, clNone);
}

} // namespace
} // namespace emr
