#include "framework/graphics/BmpCodec.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <unordered_map>

#include "framework/core/Exception.h"

namespace emr {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;

[[noreturn]] void Fail(const std::string& what) {
    throw Exception("BMP: " + what);
}

/// Little-endian reads that never pass the end of the data.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
    std::uint32_t U8(std::size_t at) const { return Need(at, 1), data_[at]; }
    std::uint32_t U16(std::size_t at) const { return Need(at, 2), data_[at] | (data_[at + 1] << 8); }
    std::uint32_t U32(std::size_t at) const {
        Need(at, 4);
        return std::uint32_t{data_[at]} | (std::uint32_t{data_[at + 1]} << 8) |
               (std::uint32_t{data_[at + 2]} << 16) | (std::uint32_t{data_[at + 3]} << 24);
    }
    std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }

private:
    void Need(std::size_t at, std::size_t n) const {
        if (at > data_.size() || data_.size() - at < n) Fail("file is truncated");
    }
    std::span<const std::uint8_t> data_;
};

/// One colour channel described by a bit mask.
struct Channel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    std::uint32_t Max = 0;

    explicit Channel(std::uint32_t mask) : Mask(mask) {
        if (!mask) return;
        Shift = std::countr_zero(mask);
        Max = mask >> Shift;
    }
    std::uint32_t Value(std::uint32_t pixel) const {
        if (!Max) return 0;
        std::uint64_t v = (pixel & Mask) >> Shift;
        return static_cast<std::uint32_t>((v * 255 + Max / 2) / Max);
    }
};

std::uint32_t Pixel(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (r << 16) | (g << 8) | b;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

int BitsFor(TPixelFormat format) {
    switch (format) {
    case TPixelFormat::pf1bit:
        return 1;
    case TPixelFormat::pf4bit:
        return 4;
    case TPixelFormat::pf8bit:
        return 8;
    case TPixelFormat::pf15bit:
    case TPixelFormat::pf16bit:
        return 16;
    case TPixelFormat::pf32bit:
        return 32;
    default:
        return 24;
    }
}

/// The table used when a picture has more colours than an indexed format holds.
std::vector<std::uint32_t> StandardPalette(int bits) {
    std::vector<std::uint32_t> table;
    if (bits == 1) return {0x000000, 0xFFFFFF};
    if (bits == 4) {
        const std::uint32_t vga[] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                     0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                     0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        return {std::begin(vga), std::end(vga)};
    }
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                table.push_back(Pixel(r * 51, g * 51, b * 51));
    for (int i = 1; table.size() < 256; ++i) {
        std::uint32_t v = static_cast<std::uint32_t>(i * 255 / 41);
        table.push_back(Pixel(v, v, v));
    }
    return table;
}

} // namespace

TBmpImage DecodeBmp(std::span<const std::uint8_t> data) {
    Reader in(data);
    if (data.size() < 2 || data[0] != 'B' || data[1] != 'M') Fail("not a bitmap file (no BM signature)");
    std::uint32_t offBits = in.U32(10);
    std::uint32_t headerSize = in.U32(14);

    std::int64_t width = 0, height = 0;
    std::uint32_t bits = 0, compression = kBiRgb, colorsUsed = 0;
    std::size_t paletteAt = 14 + static_cast<std::size_t>(headerSize);
    std::size_t entrySize = 4;
    std::uint32_t masks[3] = {0, 0, 0};
    if (headerSize == 12) {
        width = in.U16(18);
        height = static_cast<std::int16_t>(in.U16(20));
        bits = in.U16(24);
        entrySize = 3;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64 ||
               headerSize == 108 || headerSize == 124) {
        width = in.I32(18);
        height = in.I32(22);
        bits = in.U16(28);
        compression = in.U32(30);
        colorsUsed = in.U32(46);
        if (compression == kBiBitfields && headerSize != 64) {
            // The masks follow a 40-byte header, and are part of the larger ones.
            for (int i = 0; i < 3; ++i)
                masks[i] = in.U32(54 + 4 * static_cast<std::size_t>(i));
            if (headerSize == 40) paletteAt += 12;
        }
    } else {
        Fail("unsupported header size " + std::to_string(headerSize));
    }

    if (width <= 0) Fail("invalid width " + std::to_string(width));
    if (height == 0 || height == std::numeric_limits<std::int32_t>::min())
        Fail("invalid height " + std::to_string(height));
    bool topDown = height < 0;
    std::int64_t rows = topDown ? -height : height;
    if (width > TBitmap::MaxDimension || rows > TBitmap::MaxDimension || width * rows > TBitmap::MaxPixels)
        Fail("image too large (" + std::to_string(width) + " x " + std::to_string(rows) + ")");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        Fail("unsupported bit depth " + std::to_string(bits));
    if (compression == kBiRle8 || compression == kBiRle4)
        Fail("run-length compressed bitmaps are not supported");
    if (compression == kBiBitfields) {
        if (bits != 16 && bits != 32) Fail("bit fields need 16 or 32 bits per pixel");
    } else if (compression != kBiRgb) {
        Fail("unsupported compression " + std::to_string(compression));
    }

    std::vector<std::uint32_t> palette;
    if (bits <= 8) {
        std::uint32_t maxColors = 1u << bits;
        if (colorsUsed > maxColors)
            Fail("palette of " + std::to_string(colorsUsed) + " colours is too large");
        std::uint32_t count = colorsUsed ? colorsUsed : maxColors;
        if (paletteAt > data.size() || (data.size() - paletteAt) / entrySize < count) {
            // Files may leave out the unused tail of a full table; the pixels are checked later.
            if (colorsUsed) Fail("palette is truncated");
            count = static_cast<std::uint32_t>(
                paletteAt > data.size() ? 0 : (data.size() - paletteAt) / entrySize);
        }
        palette.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::size_t at = paletteAt + i * entrySize;
            palette.push_back(Pixel(in.U8(at + 2), in.U8(at + 1), in.U8(at)));
        }
    }

    std::uint64_t rowBytes = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
    if (offBits < 14 + headerSize)
        Fail("pixel data offset " + std::to_string(offBits) + " overlaps the header");
    if (offBits > data.size() || (data.size() - offBits) / rowBytes < static_cast<std::uint64_t>(rows))
        Fail("pixel data is truncated");

    TBmpImage image;
    image.Width = static_cast<int>(width);
    image.Height = static_cast<int>(rows);
    switch (bits) {
    case 1:
        image.Format = TPixelFormat::pf1bit;
        break;
    case 4:
        image.Format = TPixelFormat::pf4bit;
        break;
    case 8:
        image.Format = TPixelFormat::pf8bit;
        break;
    case 16:
        image.Format = TPixelFormat::pf15bit;
        break;
    case 24:
        image.Format = TPixelFormat::pf24bit;
        break;
    default:
        image.Format = TPixelFormat::pf32bit;
        break;
    }
    if (compression != kBiBitfields) {
        if (bits == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        } else if (bits == 32) {
            masks[0] = 0x00FF0000;
            masks[1] = 0x0000FF00;
            masks[2] = 0x000000FF;
        }
    } else if (bits == 16 && masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F) {
        image.Format = TPixelFormat::pf16bit;
    }
    Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (std::uint32_t c : palette)
        image.Palette.push_back(PixelToColor(c));

    image.Pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows));
    const std::uint8_t* base = data.data() + offBits;
    for (std::int64_t r = 0; r < rows; ++r) {
        const std::uint8_t* row = base + static_cast<std::size_t>(r) * rowBytes;
        std::int64_t y = topDown ? r : rows - 1 - r;
        std::uint32_t* out =
            image.Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint32_t v = 0;
            switch (bits) {
            case 1:
            case 4:
            case 8: {
                std::uint64_t bit = static_cast<std::uint64_t>(x) * bits;
                std::uint32_t byte = row[bit / 8];
                std::uint32_t index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index >= palette.size())
                    Fail("palette index " + std::to_string(index) + " out of range (" +
                         std::to_string(palette.size()) + " colours)");
                v = palette[index];
                break;
            }
            case 16: {
                std::uint32_t p = row[x * 2] | (row[x * 2 + 1] << 8);
                v = Pixel(red.Value(p), green.Value(p), blue.Value(p));
                break;
            }
            case 24:
                v = Pixel(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
                break;
            default: {
                const std::uint8_t* q = row + x * 4;
                std::uint32_t p = q[0] | (q[1] << 8) | (q[2] << 16) | (std::uint32_t{q[3]} << 24);
                v = Pixel(red.Value(p), green.Value(p), blue.Value(p));
                break;
            }
            }
            out[x] = v;
        }
    }
    return image;
}

std::vector<std::uint8_t> EncodeBmp(const std::uint32_t* pixels, int width, int height, int stride,
                                    TPixelFormat format, const std::vector<TColor>& palette) {
    if (width < 0 || height < 0) throw Exception("BMP: negative size");
    int bits = BitsFor(format);
    auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * stride + x] & 0xFFFFFF; };

    // Colour table and index of each colour for the indexed formats.
    std::vector<std::uint32_t> table;
    std::unordered_map<std::uint32_t, std::uint32_t> index;
    if (bits <= 8) {
        std::size_t limit = std::size_t{1} << bits;
        auto fits = [&](const std::vector<std::uint32_t>& candidate) {
            std::unordered_map<std::uint32_t, std::uint32_t> map;
            for (std::size_t i = 0; i < candidate.size(); ++i)
                map.emplace(candidate[i], static_cast<std::uint32_t>(i));
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    if (!map.count(at(x, y))) return false;
            index = std::move(map);
            return true;
        };
        std::vector<std::uint32_t> given;
        for (TColor c : palette)
            given.push_back(ColorToPixel(c));
        if (!given.empty() && given.size() <= limit && fits(given)) {
            table = given;
        } else {
            std::vector<std::uint32_t> seen;
            std::unordered_map<std::uint32_t, std::uint32_t> map;
            for (int y = 0; y < height && seen.size() <= limit; ++y)
                for (int x = 0; x < width && seen.size() <= limit; ++x)
                    if (map.emplace(at(x, y), static_cast<std::uint32_t>(seen.size())).second)
                        seen.push_back(at(x, y));
            if (seen.size() <= limit) {
                table = seen;
                index = std::move(map);
            } else {
                table = StandardPalette(bits);
                index.clear();
            }
        }
        if (table.empty()) table.push_back(0);
        if (bits == 1 && table.size() == 1) table.push_back(table[0] == 0 ? 0xFFFFFF : 0);
    }
    auto indexOf = [&](std::uint32_t v) -> std::uint32_t {
        auto it = index.find(v);
        if (it != index.end()) return it->second;
        std::uint32_t best = 0;
        long bestDistance = std::numeric_limits<long>::max();
        for (std::size_t i = 0; i < table.size(); ++i) {
            long dr = long((v >> 16) & 0xFF) - long((table[i] >> 16) & 0xFF);
            long dg = long((v >> 8) & 0xFF) - long((table[i] >> 8) & 0xFF);
            long db = long(v & 0xFF) - long(table[i] & 0xFF);
            long d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = static_cast<std::uint32_t>(i);
            }
        }
        index.emplace(v, best);
        return best;
    };

    std::uint64_t rowBytes = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
    std::uint32_t paletteBytes = static_cast<std::uint32_t>(table.size() * 4);
    bool fields565 = format == TPixelFormat::pf16bit;
    std::uint32_t offBits = 14 + 40 + paletteBytes + (fields565 ? 12 : 0);
    std::uint64_t imageBytes = rowBytes * static_cast<std::uint64_t>(height);
    std::vector<std::uint8_t> out;
    out.reserve(offBits + imageBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<std::uint32_t>(offBits + imageBytes));
    Put32(out, 0);
    Put32(out, offBits);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bits));
    Put32(out, fields565 ? kBiBitfields : kBiRgb);
    Put32(out, static_cast<std::uint32_t>(imageBytes));
    Put32(out, 3780); // 96 pixels per inch
    Put32(out, 3780);
    Put32(out, bits <= 8 ? static_cast<std::uint32_t>(table.size()) : 0);
    Put32(out, 0);
    if (fields565) {
        Put32(out, 0xF800);
        Put32(out, 0x07E0);
        Put32(out, 0x001F);
    }
    for (std::uint32_t c : table)
        Put32(out, c); // B, G, R, 0

    std::vector<std::uint8_t> row(rowBytes);
    for (int y = height - 1; y >= 0; --y) {
        std::fill(row.begin(), row.end(), 0);
        for (int x = 0; x < width; ++x) {
            std::uint32_t v = at(x, y);
            std::uint32_t r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
            switch (bits) {
            case 1:
            case 4:
            case 8: {
                std::size_t bit = static_cast<std::size_t>(x) * bits;
                row[bit / 8] |= static_cast<std::uint8_t>(indexOf(v) << (8 - bits - bit % 8));
                break;
            }
            case 16: {
                std::uint32_t p = fields565 ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)
                                            : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
                row[x * 2] = static_cast<std::uint8_t>(p);
                row[x * 2 + 1] = static_cast<std::uint8_t>(p >> 8);
                break;
            }
            case 24:
                row[x * 3] = static_cast<std::uint8_t>(b);
                row[x * 3 + 1] = static_cast<std::uint8_t>(g);
                row[x * 3 + 2] = static_cast<std::uint8_t>(r);
                break;
            default:
                row[x * 4] = static_cast<std::uint8_t>(b);
                row[x * 4 + 1] = static_cast<std::uint8_t>(g);
                row[x * 4 + 2] = static_cast<std::uint8_t>(r);
                row[x * 4 + 3] = 0;
                break;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace emr
