#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/core/Events.h"
#include "framework/core/Object.h"
#include "framework/graphics/Bitmap.h"

namespace emr {

/// Holds an optional graphic (a bitmap) and tells its owner when it changes.
class TPicture : public TPersistent {
    EMR_CLASS(TPicture)
public:
    TPicture();
    ~TPicture() override;

    /// The bitmap, created empty on first use.
    TBitmap* Bitmap();
    /// The graphic, or null when the picture holds none.
    TBitmap* Graphic() const { return bitmap_.get(); }
    /// Copies the graphic (null clears the picture).
    void SetGraphic(const TBitmap* graphic);
    int Width() const { return bitmap_ ? bitmap_->Width() : 0; }
    int Height() const { return bitmap_ ? bitmap_->Height() : 0; }

    /// Copies a TPicture or a TBitmap; null clears.
    void Assign(const TPersistent* source) override;

    /// The stored form used by layouts: the graphic as a BMP file (empty for none).
    /// SetData also accepts the file behind a class-name tag ("\x07TBitmap").
    std::vector<std::uint8_t> Data() const;
    void SetData(std::span<const std::uint8_t> data);
    void LoadFromFile(const std::string& path);

    TNotifyEvent OnChange;

protected:
    void AssignTo(TPersistent* dest) const override;

private:
    void Changed();
    void Attach();

    std::unique_ptr<TBitmap> bitmap_;
};

} // namespace emr
