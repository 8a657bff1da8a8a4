#include "framework/platform/x11/X11Surface.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <bit>
#include <cstdlib>
#include <cstring>

#include "framework/platform/x11/X11ErrorTrap.h"

namespace emr::platform::x11 {

struct X11Surface::ShmInfo {
    XShmSegmentInfo Segment{};
};

namespace {

void MaskLayout(unsigned long mask, int& shift, int& bits) {
    shift = mask ? std::countr_zero(mask) : 0;
    bits = std::popcount(mask);
}

// Scales an 8-bit channel to `bits` bits and places it at `shift`.
unsigned long Channel(std::uint32_t value, int bits, int shift) {
    return static_cast<unsigned long>(bits >= 8 ? value << (bits - 8) : value >> (8 - bits)) << shift;
}

} // namespace

X11Surface::X11Surface(_XDisplay* display, unsigned long window, void* visual, int depth, bool allowShm)
    : display_(display), window_(window), visual_(visual), depth_(depth), allowShm_(allowShm) {
    auto* v = static_cast<Visual*>(visual_);
    MaskLayout(v->red_mask, redShift_, redBits_);
    MaskLayout(v->green_mask, greenShift_, greenBits_);
    MaskLayout(v->blue_mask, blueShift_, blueBits_);
    gc_ = XCreateGC(display_, window_, 0, nullptr);
}

X11Surface::~X11Surface() {
    Release();
    if (gc_) XFreeGC(display_, gc_);
}

void X11Surface::Release() {
    if (!image_) return;
    if (shmInfo_) {
        XShmDetach(display_, &shmInfo_->Segment);
        // The server may still read the segment for an earlier put.
        XSync(display_, False);
        XDestroyImage(image_);
        shmdt(shmInfo_->Segment.shmaddr);
        delete shmInfo_;
        shmInfo_ = nullptr;
    } else {
        XDestroyImage(image_); // frees the malloc'd pixels too
    }
    image_ = nullptr;
    width_ = height_ = 0;
}

void X11Surface::Allocate(int width, int height) {
    Release();
    auto* visual = static_cast<Visual*>(visual_);
    if (allowShm_) {
        auto* info = new ShmInfo;
        XImage* image =
            XShmCreateImage(display_, visual, depth_, ZPixmap, nullptr, &info->Segment, width, height);
        bool ok = false;
        if (image) {
            const std::size_t size = static_cast<std::size_t>(image->bytes_per_line) * height;
            info->Segment.shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
            if (info->Segment.shmid >= 0) {
                void* addr = shmat(info->Segment.shmid, nullptr, 0);
                if (addr != reinterpret_cast<void*>(-1)) {
                    info->Segment.shmaddr = image->data = static_cast<char*>(addr);
                    info->Segment.readOnly = False;
                    X11ErrorTrap trap(display_);
                    XShmAttach(display_, &info->Segment);
                    ok = !trap.Failed();
                    if (!ok) shmdt(addr);
                }
                // Marked for removal now: it goes away with the last detach,
                // even when the process dies.
                shmctl(info->Segment.shmid, IPC_RMID, nullptr);
            }
        }
        if (ok) {
            image_ = image;
            shmInfo_ = info;
        } else {
            if (image) {
                image->data = nullptr;
                XDestroyImage(image);
            }
            delete info;
            // The server refused shared memory (remote, or no permission):
            // every later image goes through the connection.
            allowShm_ = false;
        }
    }
    if (!image_) {
        const int pad = depth_ > 16 ? 32 : (depth_ > 8 ? 16 : 8);
        image_ = XCreateImage(display_, visual, depth_, ZPixmap, 0, nullptr, width, height, pad, 0);
        if (!image_) return;
        image_->data =
            static_cast<char*>(std::calloc(static_cast<std::size_t>(image_->bytes_per_line), height));
        if (!image_->data) {
            XDestroyImage(image_);
            image_ = nullptr;
            return;
        }
    }
    width_ = width;
    height_ = height;
    direct_ = image_->bits_per_pixel == 32 && image_->red_mask == 0xFF0000 && image_->green_mask == 0xFF00 &&
              image_->blue_mask == 0xFF;
}

void X11Surface::Present(const std::uint32_t* pixels, int width, int height, int stride,
                         const emr::TRect& dirty) {
    if (!pixels || width <= 0 || height <= 0 || stride < width) return;
    if (width != width_ || height != height_) {
        Allocate(width, height);
        if (!image_) return;
    }
    const emr::TRect area = dirty.Intersect(emr::TRect{0, 0, width, height});
    if (area.Empty()) return;
    for (int y = area.Top; y < area.Bottom; ++y) {
        const std::uint32_t* src = pixels + static_cast<std::size_t>(y) * stride + area.Left;
        char* row = image_->data + static_cast<std::size_t>(y) * image_->bytes_per_line;
        if (direct_) {
            std::memcpy(row + area.Left * 4, src, static_cast<std::size_t>(area.Width()) * 4);
            continue;
        }
        for (int x = 0; x < area.Width(); ++x) {
            const std::uint32_t p = src[x];
            const unsigned long value = Channel((p >> 16) & 0xFF, redBits_, redShift_) |
                                        Channel((p >> 8) & 0xFF, greenBits_, greenShift_) |
                                        Channel(p & 0xFF, blueBits_, blueShift_);
            XPutPixel(image_, area.Left + x, y, value);
        }
    }
    Put(area);
}

bool X11Surface::Repaint(const emr::TRect& area) {
    if (!image_ || area.Empty()) return false;
    if (area.Right > width_ || area.Bottom > height_) return false;
    Put(area);
    return true;
}

void X11Surface::Put(const emr::TRect& area) {
    if (shmInfo_) {
        XShmPutImage(display_, window_, gc_, image_, area.Left, area.Top, area.Left, area.Top,
                     static_cast<unsigned>(area.Width()), static_cast<unsigned>(area.Height()), False);
        // The next present writes into the same memory: wait until the
        // server has read this one.
        XSync(display_, False);
    } else {
        XPutImage(display_, window_, gc_, image_, area.Left, area.Top, area.Left, area.Top,
                  static_cast<unsigned>(area.Width()), static_cast<unsigned>(area.Height()));
        XFlush(display_);
    }
}

} // namespace emr::platform::x11
