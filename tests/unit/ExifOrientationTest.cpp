#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "imaging/ExifOrientation.h"

namespace glimra {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Entry {
    std::uint16_t tag, type;
    std::uint32_t count, value;
};

void Put(Bytes& out, std::uint32_t value, int size, bool bigEndian) {
    for (int i = 0; i < size; ++i) {
        const int shift = 8 * (bigEndian ? size - 1 - i : i);
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// A TIFF structure with one directory at `ifdOffset`; a lone SHORT sits left in its field.
Bytes Tiff(bool bigEndian, const std::vector<Entry>& entries, std::uint32_t ifdOffset = 8) {
    Bytes out = bigEndian ? Bytes{'M', 'M'} : Bytes{'I', 'I'};
    Put(out, 42, 2, bigEndian);
    Put(out, ifdOffset, 4, bigEndian);
    out.resize(std::max<std::size_t>(out.size(), ifdOffset), 0);
    Put(out, static_cast<std::uint32_t>(entries.size()), 2, bigEndian);
    for (const Entry& e : entries) {
        Put(out, e.tag, 2, bigEndian);
        Put(out, e.type, 2, bigEndian);
        Put(out, e.count, 4, bigEndian);
        if (e.type == 3 && e.count == 1) {
            Put(out, e.value, 2, bigEndian);
            Put(out, 0, 2, bigEndian);
        } else {
            Put(out, e.value, 4, bigEndian);
        }
    }
    Put(out, 0, 4, bigEndian);  // no next directory
    return out;
}

Bytes Segment(std::uint8_t marker, const Bytes& payload) {
    Bytes out = {0xFF, marker};
    Put(out, static_cast<std::uint32_t>(payload.size() + 2), 2, true);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

Bytes Exif(const Bytes& tiff) {
    Bytes payload = {'E', 'x', 'i', 'f', 0, 0};
    payload.insert(payload.end(), tiff.begin(), tiff.end());
    return Segment(0xE1, payload);
}

Bytes Jfif() {
    return Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
}

// Start of image, the segments, then a scan and the end.
Bytes Jpeg(const std::vector<Bytes>& segments) {
    Bytes out = {0xFF, 0xD8};
    for (const Bytes& s : segments)
        out.insert(out.end(), s.begin(), s.end());
    const Bytes scan = Segment(0xDA, {1, 1, 0, 0, 0x3F, 0});
    out.insert(out.end(), scan.begin(), scan.end());
    out.insert(out.end(), {0x12, 0x34, 0xFF, 0x00, 0x56, 0xFF, 0xD9});
    return out;
}

// The orientation after other tags, as cameras write it.
Bytes OrientedExif(std::uint32_t orientation, bool bigEndian) {
    return Exif(Tiff(bigEndian, {{0x010F, 2, 6, 0x1A},
                                 {0x0110, 2, 8, 0x20},
                                 {0x0112, 3, 1, orientation},
                                 {0x011A, 5, 1, 0x28}}));
}

Bytes Oriented(std::uint32_t orientation, bool bigEndian) {
    return Jpeg({Jfif(), OrientedExif(orientation, bigEndian)});
}

// Read from a heap block of exactly the right size, so any read past it is caught.
int Read(const Bytes& bytes, std::size_t size) {
    std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[size]);
    std::copy(bytes.begin(), bytes.begin() + size, exact.get());
    return ExifOrientation(exact.get(), size);
}
int Read(const Bytes& bytes) {
    return Read(bytes, bytes.size());
}

TEST(ExifOrientation, ReadsEveryValueInBothByteOrders) {
    for (bool bigEndian : {false, true}) {
        for (std::uint32_t value = 1; value <= 8; ++value) {
            EXPECT_EQ(Read(Oriented(value, bigEndian)), int(value)) << value << " " << bigEndian;
        }
        for (std::uint32_t value : {0u, 9u, 0x0100u, 0xFFFFu}) {
            EXPECT_EQ(Read(Oriented(value, bigEndian)), 1) << value << " " << bigEndian;
        }
    }
}

TEST(ExifOrientation, FindsTheExifSegmentAmongOthers) {
    const Bytes tiff = Tiff(true, {{0x0112, 3, 1, 6}});
    const Bytes xmp = Segment(0xE1, {'h', 't', 't', 'p', ':', '/', '/', 0});
    Bytes filled = Jpeg({Exif(tiff)});
    filled.insert(filled.begin() + 2, {0xFF, 0xFF});  // fill bytes before a marker
    EXPECT_EQ(Read(Jpeg({Exif(tiff)})), 6);
    EXPECT_EQ(Read(Jpeg({Jfif(), Exif(tiff)})), 6);
    EXPECT_EQ(Read(Jpeg({Jfif(), xmp, Segment(0xDB, Bytes(65, 1)), Exif(tiff)})), 6);
    EXPECT_EQ(Read(filled), 6);
    // The directory need not follow the header directly.
    EXPECT_EQ(Read(Jpeg({Exif(Tiff(false, {{0x0112, 3, 1, 8}}, 40))})), 8);
}

TEST(ExifOrientation, GivesOneWithoutAUsableValue) {
    const Bytes good = Tiff(false, {{0x0112, 3, 1, 6}});
    Bytes badMagic = good, badOrder = good, farDirectory = good, hugeDirectory = good;
    Bytes manyEntries = Tiff(false, {{0x0110, 2, 8, 0x20}});
    badMagic[2] = 43;
    badOrder[1] = 'M';
    farDirectory[4] = 0xFF;  // directory at 0x000000FF, past the end
    std::fill(hugeDirectory.begin() + 4, hugeDirectory.begin() + 8, 0xFF);
    manyEntries[8] = 0xFF;  // claims 255 entries
    // The scan's entropy data is not made of segments: nothing after it is looked at.
    Bytes afterScan = {0xFF, 0xD8};
    for (const Bytes& part : {Segment(0xDA, {1, 1, 0, 0, 0x3F, 0}), Exif(good)}) {
        afterScan.insert(afterScan.end(), part.begin(), part.end());
    }
    Bytes overlong = Jpeg({Exif(good)});
    overlong[5] = 0xF0;  // segment longer than the file
    Bytes tooShort = Jpeg({Exif(good)});
    tooShort[4] = 0, tooShort[5] = 1;  // segment length below its own two bytes

    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"no exif", Jpeg({Jfif()})},
        {"exif after the scan", afterScan},
        {"not a jpeg", Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}},
        {"empty", Bytes{}},
        {"only the start", Bytes{0xFF, 0xD8}},
        {"bad magic", Jpeg({Exif(badMagic)})},
        {"bad byte order", Jpeg({Exif(badOrder)})},
        {"directory past the end", Jpeg({Exif(farDirectory)})},
        {"directory at 4 GB", Jpeg({Exif(hugeDirectory)})},
        {"more entries than bytes", Jpeg({Exif(manyEntries)})},
        {"as LONG", Jpeg({Exif(Tiff(false, {{0x0112, 4, 1, 6}}))})},
        {"two values", Jpeg({Exif(Tiff(false, {{0x0112, 3, 2, 6}}))})},
        {"other tags only", Jpeg({Exif(Tiff(false, {{0x0110, 3, 1, 6}}))})},
        {"segment past the end", overlong},
        {"segment too short", tooShort},
        {"exif header without tiff", Jpeg({Segment(0xE1, {'E', 'x', 'i', 'f', 0, 0})})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.bytes), 1) << c.name;
    EXPECT_EQ(ExifOrientation(nullptr, 100), 1);
}

TEST(ExifOrientation, TruncatedFilesGiveOneUntilTheExifSegmentIsWhole) {
    for (bool bigEndian : {false, true}) {
        const Bytes file = Oriented(3, bigEndian);
        const std::size_t exifEnd = 2 + Jfif().size() + OrientedExif(3, bigEndian).size();
        for (std::size_t size = 0; size <= file.size(); ++size) {
            EXPECT_EQ(Read(file, size), size >= exifEnd ? 3 : 1) << size;
        }
    }
}

TEST(ExifOrientation, SurvivesRandomAndMutatedData) {
    std::mt19937 random(20240611);
    const Bytes seeds[] = {Oriented(6, false), Oriented(8, true),
                           Jpeg({Exif(Tiff(true, {{0x0112, 3, 1, 5}}, 2000))})};
    for (int i = 0; i < 30000; ++i) {
        Bytes bytes = seeds[i % 3];
        switch (random() % 4) {
            case 0:  // a few bytes changed
                for (int n = 1 + random() % 6; n > 0; --n)
                    bytes[random() % bytes.size()] = random();
                break;
            case 1: {  // a block dropped
                const std::size_t at = random() % bytes.size();
                bytes.erase(bytes.begin() + at,
                            bytes.begin() + std::min(bytes.size(), at + 1 + random() % 16));
                break;
            }
            case 2: {  // a length, count or offset made extreme
                static const std::uint8_t extremes[] = {0x00, 0x01, 0x7F, 0x80, 0xFF};
                const std::size_t at = random() % (bytes.size() - 1);
                bytes[at] = extremes[random() % 5];
                bytes[at + 1] = extremes[random() % 5];
                break;
            }
            default:  // noise behind a start of image and an APP1 marker
                bytes.assign(2 + random() % 64, 0);
                for (auto& b : bytes)
                    b = random();
                bytes[0] = 0xFF, bytes[1] = 0xD8;
                if (bytes.size() > 4) bytes[2] = 0xFF, bytes[3] = 0xE1;
        }
        const std::size_t size = bytes.empty() ? 0 : random() % (bytes.size() + 1);
        const int orientation = Read(bytes, size);
        ASSERT_GE(orientation, 1);
        ASSERT_LE(orientation, 8);
    }
}

}  // namespace
}  // namespace glimra
