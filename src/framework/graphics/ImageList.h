#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Events.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Color.h"

namespace emr {

class TCanvas;

/// A list of same-sized images with transparency masks.
class TCustomImageList : public TComponent {
    EMR_CLASS(TCustomImageList)
public:
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;

    int Width() const { return width_; }
    /// Changing the size empties the list.
    void SetWidth(int width);
    int Height() const { return height_; }
    void SetHeight(int height);
    int Count() const { return static_cast<int>(images_.size()); }

    /// Adds the image (a strip of Width-wide images when wider) and returns the index
    /// of the first one added, or -1. In `mask`, white pixels are transparent; with
    /// no mask every pixel is opaque.
    int Add(const TBitmap* image, const TBitmap* mask);
    /// Adds the image with every pixel of `maskColor` transparent.
    int AddMasked(const TBitmap* image, TColor maskColor);
    void Delete(int index);
    void Clear();
    /// Copies image `index` into `dest`; its transparent pixels come out white.
    void GetBitmap(int index, TBitmap* dest) const;

    /// Draws image `index` at (x, y). Disabled draws the greyed form: the image's
    /// shape embossed in the highlight and shadow colours.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;

    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    struct Image {
        std::vector<std::uint32_t> Pixels; // Width x Height
        std::vector<std::uint8_t> Opaque;  // 1 where the pixel is drawn
    };
    void Changed();
    int AddImages(const TBitmap* image, const TBitmap* mask, bool useColor, TColor maskColor);

    int width_ = 16;
    int height_ = 16;
    std::vector<Image> images_;
};

class TImageList : public TCustomImageList {
    EMR_CLASS(TImageList)
public:
    using TCustomImageList::TCustomImageList;
};

} // namespace emr
