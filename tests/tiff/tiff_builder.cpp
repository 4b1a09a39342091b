#include "tests/tiff/tiff_builder.h"

#include <algorithm>
#include <fstream>

namespace {

std::uint32_t TypeSize(std::uint16_t type) {
    switch (type) {
        case kShort:
            return 2;
        case kLong:
            return 4;
        case kRational:
            return 8;
        default:
            return 1;
    }
}

class Writer {
public:
    explicit Writer(bool motorola) : motorola_(motorola) {}
    void Put(std::uint32_t value, std::uint32_t size) {
        for (std::uint32_t i = 0; i < size; ++i) {
            const std::uint32_t shift = motorola_ ? 8 * (size - 1 - i) : 8 * i;
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    std::vector<std::uint8_t> bytes;

private:
    bool motorola_;
};

}  // namespace

TiffBuilder::Entry& TiffBuilder::Find(std::uint16_t tag) {
    for (Entry& e : entries_)
        if (e.tag == tag) return e;
    entries_.push_back(Entry{tag, 0, 0, 0, {}, false});
    return entries_.back();
}

TiffBuilder& TiffBuilder::Set(std::uint16_t tag, std::uint16_t type, std::uint32_t count,
                              std::uint32_t value) {
    Find(tag) = Entry{tag, type, count, value, {}, false};
    return *this;
}

TiffBuilder& TiffBuilder::SetArray(std::uint16_t tag, std::uint16_t type,
                                   const std::vector<std::uint32_t>& values) {
    Find(tag) = Entry{tag, type, static_cast<std::uint32_t>(values.size()), 0, values, false};
    return *this;
}

TiffBuilder& TiffBuilder::SetStrips(const std::vector<std::uint32_t>& offsetsInPixels,
                                    std::uint16_t type) {
    Find(273) = Entry{
        273, type, static_cast<std::uint32_t>(offsetsInPixels.size()), 0, offsetsInPixels, true};
    return *this;
}

TiffBuilder& TiffBuilder::Remove(std::uint16_t tag) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it)
        if (it->tag == tag) {
            entries_.erase(it);
            break;
        }
    return *this;
}

std::uint32_t TiffBuilder::PixelStart() const {
    std::uint32_t at = 8 + 2 + 12 * static_cast<std::uint32_t>(entries_.size()) + 4;
    for (const Entry& e : entries_) {
        const std::uint32_t bytes = e.count * TypeSize(e.type);
        if ((!e.values.empty() || e.strips) && bytes > 4) at += bytes;
    }
    return at;
}

std::vector<std::uint8_t> TiffBuilder::Build() const {
    Writer out(motorola_);
    const std::string m = mark.empty() ? (motorola_ ? "MM" : "II") : mark;
    out.bytes.push_back(static_cast<std::uint8_t>(m[0]));
    out.bytes.push_back(static_cast<std::uint8_t>(m[1]));
    out.Put(42, 2);
    out.Put(8, 4);
    out.Put(static_cast<std::uint32_t>(entries_.size()), 2);

    const std::uint32_t pixelStart = PixelStart();
    std::uint32_t arrayAt = 8 + 2 + 12 * static_cast<std::uint32_t>(entries_.size()) + 4;
    Writer arrays(motorola_);
    for (const Entry& e : entries_) {
        out.Put(e.tag, 2);
        out.Put(e.type, 2);
        out.Put(e.count, 4);
        const bool hasValues = !e.values.empty() || e.strips;
        const std::uint32_t size = TypeSize(e.type);
        if (!hasValues) {
            if (e.type == kShort && e.count == 1) {
                out.Put(e.value, 2);
                out.Put(0, 2);
            } else {
                out.Put(e.value, 4);
            }
            continue;
        }
        Writer values(motorola_);
        for (std::uint32_t v : e.values) values.Put(e.strips ? v + pixelStart : v, size);
        values.bytes.resize(std::max<std::size_t>(values.bytes.size(), 4), 0);
        if (e.count * size <= 4) {
            out.bytes.insert(out.bytes.end(), values.bytes.begin(), values.bytes.begin() + 4);
        } else {
            out.Put(arrayAt, 4);
            arrays.bytes.insert(arrays.bytes.end(), values.bytes.begin(), values.bytes.end());
            arrayAt += e.count * size;
        }
    }
    out.Put(nextDirectory, 4);
    out.bytes.insert(out.bytes.end(), arrays.bytes.begin(), arrays.bytes.end());
    out.bytes.insert(out.bytes.end(), pixels.begin(), pixels.end());
    return out.bytes;
}

void TiffBuilder::Write(const std::string& path) const {
    const std::vector<std::uint8_t> bytes = Build();
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

TiffBuilder RgbFile(int width, int height, int rowsPerStrip, int samples, int bits, bool motorola) {
    TiffBuilder b(motorola);
    const std::uint32_t rowBytes = static_cast<std::uint32_t>((width * samples * bits + 7) / 8);
    b.Set(256, kLong, 1, static_cast<std::uint32_t>(width));
    b.Set(257, kLong, 1, static_cast<std::uint32_t>(height));
    b.SetArray(258, kShort,
               std::vector<std::uint32_t>(static_cast<std::size_t>(samples),
                                          static_cast<std::uint32_t>(bits)));
    b.Set(259, kShort, 1, 1);
    b.Set(262, kShort, 1, samples >= 3 ? 2 : 1);
    std::vector<std::uint32_t> strips, counts;
    for (int first = 0; first < height; first += rowsPerStrip) {
        strips.push_back(static_cast<std::uint32_t>(first) * rowBytes);
        const int rows = std::min(rowsPerStrip, height - first);
        counts.push_back(static_cast<std::uint32_t>(rows) * rowBytes);
    }
    b.SetStrips(strips);
    b.Set(277, kShort, 1, static_cast<std::uint32_t>(samples));
    b.Set(278, kLong, 1, static_cast<std::uint32_t>(rowsPerStrip));
    b.SetArray(279, kLong, counts);
    if (samples == 4 || samples == 2) b.Set(338, kShort, 1, 2);
    b.pixels.resize(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < b.pixels.size(); ++i)
        b.pixels[i] = static_cast<std::uint8_t>((i + 1) % 251);
    return b;
}
