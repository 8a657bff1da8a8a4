#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Events.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/ImageScaling.h"

namespace emr {

class TCanvas;

/// A list of same-sized images with transparency masks, optionally holding the same
/// images drawn at other sizes too, for drawing sharp at a canvas's device scale.
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

    /// Adds (or replaces) the set of the same images at another size: `images` holds
    /// them at its own Width x Height, in this list's order. The list's own size
    /// stays its size in logical units.
    void AddSizeSet(const TCustomImageList* images);
    /// Widths of the sets held: the list's own and those added.
    std::vector<int> SetSizes() const;

    /// Draws image `index` with its Width x Height box at (x, y). Disabled draws the
    /// greyed form: the image's shape embossed in the highlight and shadow colours.
    /// At a scale other than 1.0 the set for the device size is chosen (see
    /// ChooseImageSize) and resampled if need be before the greyed or transparent
    /// form is made, so edges stay sharp and carry no transparent colour.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;
    /// Image `index` as it is drawn into a device box of width x height.
    TMaskedImage DeviceImage(int index, int width, int height) const;

    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    struct Image {
        std::vector<std::uint32_t> Pixels; // Width x Height
        std::vector<std::uint8_t> Opaque;  // 1 where the pixel is drawn
    };
    void Changed();
    void DrawAtDeviceSize(TCanvas* canvas, int x, int y, int index, bool enabled) const;
    int AddImages(const TBitmap* image, const TBitmap* mask, bool useColor, TColor maskColor);

    int width_ = 16;
    int height_ = 16;
    std::vector<Image> images_;
    /// The other sizes, by width: each the same images at width x height.
    struct SizeSet {
        int Width = 0;
        int Height = 0;
        std::vector<Image> Images;
    };
    std::map<int, SizeSet> sizeSets_;
};

class TImageList : public TCustomImageList {
    EMR_CLASS(TImageList)
public:
    using TCustomImageList::TCustomImageList;
};

} // namespace emr
