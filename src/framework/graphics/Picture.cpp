#include "framework/graphics/Picture.h"

#include "framework/core/Exception.h"
#include "framework/core/FileError.h"

namespace emr {

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Attach() {
    bitmap_->OnChange = [this](TObject*) { Changed(); };
}

TBitmap* TPicture::Bitmap() {
    if (!bitmap_) {
        bitmap_ = std::make_unique<TBitmap>();
        Attach();
    }
    return bitmap_.get();
}

void TPicture::SetGraphic(const TBitmap* graphic) {
    if (!graphic) {
        if (!bitmap_) return;
        bitmap_.reset();
        Changed();
        return;
    }
    if (graphic == bitmap_.get()) return;
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(graphic);
    bitmap_ = std::move(copy);
    Attach();
    Changed();
}

void TPicture::Assign(const TPersistent* source) {
    if (!source) {
        SetGraphic(nullptr);
        return;
    }
    if (auto* picture = dynamic_cast<const TPicture*>(source)) {
        if (picture != this) SetGraphic(picture->Graphic());
        return;
    }
    if (auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        SetGraphic(bitmap);
        return;
    }
    TPersistent::Assign(source);
}

void TPicture::AssignTo(TPersistent* dest) const {
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        bitmap->Assign(bitmap_.get());
        return;
    }
    TPersistent::AssignTo(dest);
}

std::vector<std::uint8_t> TPicture::Data() const {
    if (!bitmap_ || bitmap_->Empty()) return {};
    return bitmap_->Data();
}

void TPicture::SetData(std::span<const std::uint8_t> data) {
    if (data.empty()) {
        SetGraphic(nullptr);
        return;
    }
    // A tagged graphic: a length byte and the class name come first.
    if (!(data.size() >= 2 && data[0] == 'B' && data[1] == 'M')) {
        std::size_t nameLength = data[0];
        if (nameLength == 0 || data.size() < 1 + nameLength) throw Exception("Picture: data is truncated");
        std::string className(data.begin() + 1, data.begin() + 1 + static_cast<std::ptrdiff_t>(nameLength));
        if (className != "TBitmap") throw Exception("Picture: unsupported graphic class " + className);
        data = data.subspan(1 + nameLength);
    }
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetData(data);
    bitmap_ = std::move(bitmap);
    Attach();
    Changed();
}

void TPicture::LoadFromFile(const std::string& path) {
    const std::vector<std::uint8_t> data = ReadFileBytes(path);
    auto bitmap = std::make_unique<TBitmap>();
    WithFileName(path, [&] { bitmap->LoadFromBmp(data); });
    bitmap_ = std::move(bitmap);
    Attach();
    Changed();
}

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

} // namespace emr
