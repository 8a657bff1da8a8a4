#include "framework/platform/x11/X11Surface.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "framework/platform/x11/X11Connection.h"
#include "framework/platform/x11/X11ErrorTrap.h"

namespace emr::platform::x11 {

struct X11Surface::Image {
    XImage* Pixels = nullptr;
    bool Shared = false;
    XShmSegmentInfo Segment{};
    // The request that last put from this image while the server may not have
    // read it yet; 0 when none.
    unsigned long PutRequest = 0;
    // Whether that request asked for a completion event.
    bool Notifies = false;
    // What later presents changed while this image was not the one written.
    emr::TRect Stale;
};

namespace {

// How long to wait for a completion event before asking the server outright.
constexpr int kServerPatienceMs = 200;
// Frames in a row that found the image of the frame before read before
// completion events are no longer asked for.
constexpr int kCalmFrames = 2;

void MaskLayout(unsigned long mask, int& shift, int& bits) {
    shift = mask ? std::countr_zero(mask) : 0;
    bits = std::popcount(mask);
}

// Scales an 8-bit channel to `bits` bits and places it at `shift`.
unsigned long Channel(std::uint32_t value, int bits, int shift) {
    return static_cast<unsigned long>(bits >= 8 ? value << (bits - 8) : value >> (8 - bits)) << shift;
}

/// Copies a row of pixels unless it is there already.
void CopyChanged(std::uint32_t* out, const std::uint32_t* src, int count) {
    const auto bytes = static_cast<std::size_t>(count) * sizeof *out;
    if (std::memcmp(out, src, bytes) != 0) std::memcpy(out, src, bytes);
}

/// A shared-memory image of width x height, or null when the server refuses one.
XImage* CreateSharedImage(Display* display, Visual* visual, int depth, int width, int height,
                          XShmSegmentInfo& segment) {
    XImage* image = XShmCreateImage(display, visual, depth, ZPixmap, nullptr, &segment, width, height);
    if (!image) return nullptr;
    bool ok = false;
    const std::size_t size = static_cast<std::size_t>(image->bytes_per_line) * height;
    segment.shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (segment.shmid >= 0) {
        void* addr = shmat(segment.shmid, nullptr, 0);
        if (addr != reinterpret_cast<void*>(-1)) {
            segment.shmaddr = image->data = static_cast<char*>(addr);
            segment.readOnly = False;
            X11ErrorTrap trap(display);
            XShmAttach(display, &segment);
            ok = !trap.Failed();
            if (!ok) shmdt(addr);
        }
        // Marked for removal now: it goes away with the last detach, even when
        // the process dies.
        shmctl(segment.shmid, IPC_RMID, nullptr);
    }
    if (ok) return image;
    image->data = nullptr;
    XDestroyImage(image);
    return nullptr;
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

bool X11Surface::UsesSharedMemory() const {
    return images_[0] && images_[0]->Shared;
}

void X11Surface::Release() {
    bool shared = false;
    for (auto& image : images_)
        if (image && image->Shared) {
            XShmDetach(display_, &image->Segment);
            shared = true;
        }
    // The server may still read a segment for an earlier put.
    if (shared) XSync(display_, False);
    for (auto& image : images_) {
        if (!image) continue;
        if (image->Shared) {
            image->Pixels->data = nullptr;
            XDestroyImage(image->Pixels);
            shmdt(image->Segment.shmaddr);
        } else {
            XDestroyImage(image->Pixels); // frees the malloc'd pixels too
        }
        image.reset();
    }
    latest_ = nullptr;
    width_ = height_ = 0;
}

void X11Surface::Allocate(int width, int height) {
    Release();
    auto image = std::make_unique<Image>();
    auto* visual = static_cast<Visual*>(visual_);
    if (allowShm_) {
        image->Pixels = CreateSharedImage(display_, visual, depth_, width, height, image->Segment);
        image->Shared = image->Pixels != nullptr;
        // The server refused shared memory (remote, or no permission): every
        // later image goes through the connection.
        if (!image->Shared) allowShm_ = false;
    }
    if (!image->Pixels) {
        const int pad = depth_ > 16 ? 32 : (depth_ > 8 ? 16 : 8);
        XImage* plain = XCreateImage(display_, visual, depth_, ZPixmap, 0, nullptr, width, height, pad, 0);
        if (!plain) return;
        plain->data =
            static_cast<char*>(std::calloc(static_cast<std::size_t>(plain->bytes_per_line), height));
        if (!plain->data) {
            XDestroyImage(plain);
            return;
        }
        image->Pixels = plain;
    }
    const XImage& pixels = *image->Pixels;
    direct_ = pixels.bits_per_pixel == 32 && pixels.red_mask == 0xFF0000 && pixels.green_mask == 0xFF00 &&
              pixels.blue_mask == 0xFF;
    image->Stale = {0, 0, width, height};
    images_[0] = std::move(image);
    width_ = width;
    height_ = height;
}

bool X11Surface::ServerDone(const Image& image) const {
    return image.PutRequest == 0 || LastKnownRequestProcessed(display_) >= image.PutRequest;
}

X11Surface::Image* X11Surface::FreeImage() {
    // Prefer the image written last: it has nothing stale to bring up to date.
    Image* order[] = {latest_, images_[0].get() == latest_ ? images_[1].get() : images_[0].get()};
    auto known = [&]() -> Image* {
        for (Image* image : order) {
            if (!image || !ServerDone(*image)) continue;
            image->PutRequest = 0;
            return image;
        }
        return nullptr;
    };
    // The event loop reads the connection anyway, so what the server has done
    // is usually known already; only otherwise are its replies read now.
    if (Image* image = known()) return image;
    ReadServerMessages(display_);
    return known();
}

void X11Surface::Present(const std::uint32_t* pixels, int width, int height, int stride,
                         const emr::TRect& dirty) {
    if (!pixels || width <= 0 || height <= 0 || stride < width) return;
    if (width != width_ || height != height_) {
        Allocate(width, height);
        if (!images_[0]) return;
    }
    const emr::TRect area = dirty.Intersect(emr::TRect{0, 0, width, height});
    if (area.Empty()) return;

    Image* target = images_[0].get();
    if (target->Shared) {
        target = FreeImage();
        // Whether frames come slower than the server reads them; see Put.
        calmFrames_ = latest_ && target == latest_ ? std::min(calmFrames_ + 1, kCalmFrames) : 0;
        if (!target && !images_[1]) {
            auto second = std::make_unique<Image>();
            second->Pixels = CreateSharedImage(display_, static_cast<Visual*>(visual_), depth_, width, height,
                                               second->Segment);
            if (second->Pixels) {
                second->Shared = true;
                second->Stale = {0, 0, width, height};
                images_[1] = std::move(second);
                target = images_[1].get();
            }
        }
        // The server is two frames behind: wait until it has read one of them,
        // by its completion event when one is coming.
        bool eventComing = false;
        for (const auto& image : images_)
            if (image && image->PutRequest != 0 && image->Notifies) eventComing = true;
        while (!target) {
            if (!eventComing || !ReadWhenServerSends(display_, kServerPatienceMs)) {
                XSync(display_, False);
                target = FreeImage();
                break;
            }
            target = FreeImage();
        }
    }
    Store(*target, pixels, stride, target->Stale.Empty() ? area : target->Stale.Union(area));
    target->Stale = {};
    for (auto& other : images_)
        if (other && other.get() != target)
            other->Stale = other->Stale.Empty() ? area : other->Stale.Union(area);
    latest_ = target;
    Put(*target, area);
}

void X11Surface::Store(Image& image, const std::uint32_t* pixels, int stride, const emr::TRect& area) {
    XImage* out = image.Pixels;
    for (int y = area.Top; y < area.Bottom; ++y) {
        const std::uint32_t* src = pixels + static_cast<std::size_t>(y) * stride + area.Left;
        char* row = out->data + static_cast<std::size_t>(y) * out->bytes_per_line;
        if (direct_) {
            CopyChanged(reinterpret_cast<std::uint32_t*>(row) + area.Left, src, area.Width());
            continue;
        }
        for (int x = 0; x < area.Width(); ++x) {
            const std::uint32_t p = src[x];
            const unsigned long value = Channel((p >> 16) & 0xFF, redBits_, redShift_) |
                                        Channel((p >> 8) & 0xFF, greenBits_, greenShift_) |
                                        Channel(p & 0xFF, blueBits_, blueShift_);
            XPutPixel(out, area.Left + x, y, value);
        }
    }
}

bool X11Surface::Repaint(const emr::TRect& area) {
    if (!latest_ || area.Empty()) return false;
    if (area.Right > width_ || area.Bottom > height_) return false;
    Put(*latest_, area);
    return true;
}

void X11Surface::Put(Image& image, const emr::TRect& area) {
    const auto w = static_cast<unsigned>(area.Width()), h = static_cast<unsigned>(area.Height());
    if (image.Shared) {
        // The server reads the memory when it gets to the request. Every event
        // and reply it sends afterwards tells that it has (FreeImage). While
        // frames come faster than the server reads them, or the other image is
        // still being read, a frame asks for a completion event as well: the
        // next one may have to wait for it, and waiting on a later frame's event
        // instead would let the server run dry. Once frames keep finding the
        // image of the frame before read, the window's own events carry the
        // news, and an idle program is not woken once more for every frame.
        bool notify = calmFrames_ < kCalmFrames;
        for (const auto& other : images_)
            if (other && other.get() != &image && !ServerDone(*other)) notify = true;
        XShmPutImage(display_, window_, gc_, image.Pixels, area.Left, area.Top, area.Left, area.Top, w, h,
                     notify ? True : False);
        image.PutRequest = NextRequest(display_) - 1;
        image.Notifies = notify;
    } else {
        XPutImage(display_, window_, gc_, image.Pixels, area.Left, area.Top, area.Left, area.Top, w, h);
    }
    SendBufferedRequests(display_);
}

} // namespace emr::platform::x11
