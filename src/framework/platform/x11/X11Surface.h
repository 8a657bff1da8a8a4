#pragma once

#include <cstdint>

#include "framework/core/Geometry.h"

struct _XDisplay;
struct _XImage;
struct _XGC;

namespace emr::platform::x11 {

/// The server-side picture of one window: a client image in the window's
/// visual format that presented pixels are copied into and put on the window
/// from. It keeps the last presented pixels, so an exposed window is repainted
/// without asking the framework. Uses a MIT-SHM segment when the server is on
/// this machine and accepts it, else plain XPutImage.
class X11Surface {
public:
    /// `visual` is the window's Xlib Visual (kept opaque here so that users of
    /// this header do not see Xlib's macros).
    X11Surface(_XDisplay* display, unsigned long window, void* visual, int depth, bool allowShm);
    ~X11Surface();
    X11Surface(const X11Surface&) = delete;
    X11Surface& operator=(const X11Surface&) = delete;

    /// Copies `dirty` of a 0x00RRGGBB buffer into the image (resizing it to
    /// width x height first when needed) and puts that part on the window.
    void Present(const std::uint32_t* pixels, int width, int height, int stride, const emr::TRect& dirty);
    /// Puts `area` of the kept image on the window again; false when the image
    /// does not cover it (nothing presented yet, or the window grew).
    bool Repaint(const emr::TRect& area);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool UsesSharedMemory() const { return shmInfo_ != nullptr; }

private:
    void Allocate(int width, int height);
    void Release();
    void Put(const emr::TRect& area);

    _XDisplay* display_;
    unsigned long window_;
    void* visual_;
    int depth_;
    bool allowShm_;
    _XGC* gc_ = nullptr;
    _XImage* image_ = nullptr;
    struct ShmInfo;
    ShmInfo* shmInfo_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    // Channel layout of the visual; `direct_` when it is 0x00RRGGBB in 32 bits.
    bool direct_ = false;
    int redShift_ = 0, greenShift_ = 0, blueShift_ = 0;
    int redBits_ = 8, greenBits_ = 8, blueBits_ = 8;
};

} // namespace emr::platform::x11
