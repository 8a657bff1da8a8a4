#include "framework/graphics/ImageList.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "framework/core/Exception.h"
#include "framework/graphics/Canvas.h"

namespace emr {

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::SetWidth(int width) {
    if (width < 1 || width == width_) return;
    width_ = width;
    images_.clear();
    sizeSets_.clear();
    Changed();
}

void TCustomImageList::SetHeight(int height) {
    if (height < 1 || height == height_) return;
    height_ = height;
    images_.clear();
    sizeSets_.clear();
    Changed();
}

int TCustomImageList::Add(const TBitmap* image, const TBitmap* mask) {
    return AddImages(image, mask, false, clNone);
}

int TCustomImageList::AddMasked(const TBitmap* image, TColor maskColor) {
    return AddImages(image, nullptr, true, maskColor);
}

int TCustomImageList::AddImages(const TBitmap* image, const TBitmap* mask, bool useColor, TColor maskColor) {
    if (!image || image->Empty()) return -1;
    int count = std::max(1, image->Width() / width_);
    std::uint32_t key = ColorToPixel(ColorToRGB(maskColor));
    int first = Count();
    for (int n = 0; n < count; ++n) {
        Image entry;
        entry.Pixels.assign(static_cast<std::size_t>(width_) * height_, 0xFFFFFF);
        entry.Opaque.assign(entry.Pixels.size(), 0);
        for (int y = 0; y < std::min(height_, image->Height()); ++y)
            for (int x = 0; x < width_; ++x) {
                int sx = n * width_ + x;
                if (sx >= image->Width()) break;
                std::uint32_t v = image->ScanLine(y)[sx] & 0xFFFFFF;
                bool opaque = true;
                if (useColor)
                    opaque = v != key;
                else if (mask && sx < mask->Width() && y < mask->Height())
                    opaque = (mask->ScanLine(y)[sx] & 0xFFFFFF) != 0xFFFFFF;
                std::size_t i = static_cast<std::size_t>(y) * width_ + x;
                entry.Pixels[i] = v;
                entry.Opaque[i] = opaque ? 1 : 0;
            }
        images_.push_back(std::move(entry));
    }
    Changed();
    return first;
}

void TCustomImageList::Delete(int index) {
    if (index < 0 || index >= Count()) throw Exception("Image index out of range");
    images_.erase(images_.begin() + index);
    for (auto& entry : sizeSets_)
        if (index < static_cast<int>(entry.second.Images.size()))
            entry.second.Images.erase(entry.second.Images.begin() + index);
    Changed();
}

void TCustomImageList::Clear() {
    if (images_.empty() && sizeSets_.empty()) return;
    images_.clear();
    sizeSets_.clear();
    Changed();
}

void TCustomImageList::GetBitmap(int index, TBitmap* dest) const {
    if (!dest) return;
    if (index < 0 || index >= Count()) throw Exception("Image index out of range");
    dest->SetSize(width_, height_);
    const Image& image = images_[static_cast<std::size_t>(index)];
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            std::size_t i = static_cast<std::size_t>(y) * width_ + x;
            dest->ScanLine(y)[x] = image.Opaque[i] ? image.Pixels[i] : 0xFFFFFF;
        }
    dest->Changed();
}

void TCustomImageList::AddSizeSet(const TCustomImageList* images) {
    if (!images || images == this || images->width_ == width_) return;
    sizeSets_[images->width_] = {images->width_, images->height_, images->images_};
    Changed();
}

std::vector<int> TCustomImageList::SetSizes() const {
    std::vector<int> sizes{width_};
    for (const auto& entry : sizeSets_)
        sizes.push_back(entry.first);
    return sizes;
}

TMaskedImage TCustomImageList::DeviceImage(int index, int width, int height) const {
    if (index < 0 || index >= Count() || width <= 0 || height <= 0) return {};
    // Sets added before an image was appended to the list lack it.
    std::vector<int> sizes{width_};
    for (const auto& entry : sizeSets_)
        if (index < static_cast<int>(entry.second.Images.size())) sizes.push_back(entry.first);
    const TImageSizeChoice choice = ChooseImageSize(sizes, width);
    TMaskedImage image;
    const auto set = sizeSets_.find(choice.Size);
    const bool own = set == sizeSets_.end();
    const Image& stored = own ? images_[static_cast<std::size_t>(index)]
                              : set->second.Images.at(static_cast<std::size_t>(index));
    image.Width = own ? width_ : set->second.Width;
    image.Height = own ? height_ : set->second.Height;
    image.Pixels = stored.Pixels;
    image.Opaque = stored.Opaque;
    if (choice.Fit != TImageFit::Scaled) return image;
    // Keep the stored aspect: the height follows the width's factor.
    const int scaledHeight =
        static_cast<int>(std::lround(static_cast<double>(image.Height) * width / image.Width));
    return ResampleImage(image, width, std::max(scaledHeight, 1));
}

void TCustomImageList::DrawAtDeviceSize(TCanvas* canvas, int x, int y, int index, bool enabled) const {
    const TRect box = canvas->DeviceRect(TRect::FromBounds(x, y, width_, height_));
    if (box.Empty()) return;
    const TMaskedImage image = DeviceImage(index, box.Width(), box.Height());
    if (image.Width <= 0) return;
    std::unique_ptr<TCanvas> device = canvas->DeviceCanvas();
    const int left = box.Left + (box.Width() - image.Width) / 2;
    const int top = box.Top + (box.Height() - image.Height) / 2;
    if (enabled) {
        device->DrawMasked(left, top, image.Pixels.data(), image.Opaque.data(), image.Width, image.Height);
        return;
    }
    // The greyed form of the device-sized image, its highlight one logical pixel off.
    std::vector<std::uint8_t> ink(image.Opaque.size());
    for (std::size_t k = 0; k < ink.size(); ++k)
        ink[k] = image.Opaque[k] && image.Pixels[k] != 0xFFFFFF;
    std::vector<std::uint32_t> highlight(ink.size(), ColorToPixel(ColorToRGB(clBtnHighlight)));
    std::vector<std::uint32_t> shadow(ink.size(), ColorToPixel(ColorToRGB(clBtnShadow)));
    const int offset = std::max(1, static_cast<int>(std::floor(canvas->Scale())));
    device->DrawMasked(left + offset, top + offset, highlight.data(), ink.data(), image.Width, image.Height);
    device->DrawMasked(left, top, shadow.data(), ink.data(), image.Width, image.Height);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const {
    if (!canvas || index < 0 || index >= Count()) return;
    if (canvas->Scale() != 1.0) {
        DrawAtDeviceSize(canvas, x, y, index, enabled);
        return;
    }
    const Image& image = images_[static_cast<std::size_t>(index)];
    if (enabled) {
        canvas->DrawMasked(x, y, image.Pixels.data(), image.Opaque.data(), width_, height_);
        return;
    }
    // Greyed: the image's ink (opaque pixels that are not white) embossed, first in
    // the highlight colour one pixel down and right, then in the shadow colour.
    std::vector<std::uint8_t> ink(image.Opaque.size());
    for (std::size_t k = 0; k < ink.size(); ++k)
        ink[k] = image.Opaque[k] && image.Pixels[k] != 0xFFFFFF;
    std::vector<std::uint32_t> highlight(ink.size(), ColorToPixel(ColorToRGB(clBtnHighlight)));
    std::vector<std::uint32_t> shadow(ink.size(), ColorToPixel(ColorToRGB(clBtnShadow)));
    canvas->DrawMasked(x + 1, y + 1, highlight.data(), ink.data(), width_, height_);
    canvas->DrawMasked(x, y, shadow.data(), ink.data(), width_, height_);
}

void TCustomImageList::Assign(const TPersistent* source) {
    if (auto* list = dynamic_cast<const TCustomImageList*>(source)) {
        if (list == this) return;
        width_ = list->width_;
        height_ = list->height_;
        images_ = list->images_;
        sizeSets_ = list->sizeSets_;
        Changed();
        return;
    }
    TComponent::Assign(source);
}

void TCustomImageList::Changed() {
    if (OnChange) OnChange(this);
}

} // namespace emr
