#pragma once

#include <cstdint>
#include <memory>

#include "framework/core/Geometry.h"

struct _XDisplay;
struct _XImage;
struct _XGC;

namespace emr::platform::x11 {

/// The server-side picture of one window: client images in the window's visual
/// format that presented pixels are copied into and put on the window from. They
/// keep the last presented pixels, so an exposed window is repainted without asking
/// the framework.
///
/// When the server is on this machine and accepts it, the images are MIT-SHM
/// segments, and there are up to two of them: the server reads one while the next
/// frame is written into the other, so presenting does not wait for the server
/// unless it falls two frames behind. Otherwise one image goes through XPutImage.
class X11Surface {
public:
    /// `visual` is the window's Xlib Visual (kept opaque here so that users of
    /// this header do not see Xlib's macros).
    X11Surface(_XDisplay* display, unsigned long window, void* visual, int depth, bool allowShm);
    ~X11Surface();
    X11Surface(const X11Surface&) = delete;
    X11Surface& operator=(const X11Surface&) = delete;

    /// Shows `dirty` of the window's pixels, a whole 0x00RRGGBB buffer of width x
    /// height (the images are resized first when needed). Only pixels that differ
    /// from the image written are stored: the server reads shared images from
    /// another processor, and every line written there is first taken back from
    /// that processor's cache.
    void Present(const std::uint32_t* pixels, int width, int height, int stride, const emr::TRect& dirty);
    /// Puts `area` of the kept pixels on the window again; false when they do not
    /// cover it (nothing presented yet, or the window grew).
    bool Repaint(const emr::TRect& area);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool UsesSharedMemory() const;

private:
    struct Image;

    void Allocate(int width, int height);
    void Release();
    /// A shared image the server has finished reading, or null when none is free.
    Image* FreeImage();
    /// Whether the server is known to have read `image` for its last put.
    bool ServerDone(const Image& image) const;
    void Put(Image& image, const emr::TRect& area);
    void Store(Image& image, const std::uint32_t* pixels, int stride, const emr::TRect& area);

    _XDisplay* display_;
    unsigned long window_;
    void* visual_;
    int depth_;
    bool allowShm_;
    _XGC* gc_ = nullptr;
    std::unique_ptr<Image> images_[2];
    // The image written last: it holds the whole window as last presented.
    Image* latest_ = nullptr;
    // Frames in a row (up to a few) that found the image written last read.
    int calmFrames_ = 0;
    int width_ = 0;
    int height_ = 0;
    // Channel layout of the visual; `direct_` when it is 0x00RRGGBB in 32 bits.
    bool direct_ = false;
    int redShift_ = 0, greenShift_ = 0, blueShift_ = 0;
    int redBits_ = 8, greenBits_ = 8, blueBits_ = 8;
};

} // namespace emr::platform::x11
