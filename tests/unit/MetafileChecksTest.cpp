#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <random>
#include <string>

#include "corpus/HostileFiles.h"
#include "imaging/EmfMapModes.h"
#include "imaging/MetafileChecks.h"

namespace glimra {
namespace {

using corpus::Bytes;

std::optional<Bytes> Sanitised(const std::string& name, const Bytes& file) {
    return name.ends_with(".emf") ? SanitisedEmf(file.data(), file.size())
                                  : SanitisedWmf(file.data(), file.size());
}

// corpus::Wmf() with `record` before its end-of-file record.
Bytes WmfWith(const Bytes& record) {
    return corpus::WithRecord(corpus::Wmf(), corpus::Wmf().size() - 6, record);
}

TEST(MetafileChecks, SoundMetafilesAreDrawnAsTheyAre) {
    EXPECT_EQ(Sanitised("a.emf", corpus::Emf()), corpus::Emf());
    EXPECT_EQ(Sanitised("a.wmf", corpus::Wmf()), corpus::Wmf());
    // The first header of the format was 80 bytes long, without the later fields.
    Bytes old = corpus::Emf();
    old.erase(old.begin() + 80, old.begin() + 108);
    old[4] = 80;
    old[48] = static_cast<std::uint8_t>(old.size());
    old[49] = static_cast<std::uint8_t>(old.size() >> 8);
    EXPECT_EQ(Sanitised("old.emf", old), old);
}

TEST(MetafileChecks, OldMetafilesOtherProgramsWriteAreDrawn) {
    using corpus::WmfRecord;
    // After the raster operation's high word and the coordinates, a bitmap of 2 x `height`
    // pixels, 2 bytes a row, 1 plane, 1 bit a pixel, and 2 rows.
    const auto bitBlt = [](std::uint16_t height) {
        return WmfRecord(0x0922, {0xCC, 0, 0, 2, 2, 10, 10, 2, height, 2, 1, 1, 0x40, 0x80});
    };
    Bytes countsPlaceable = corpus::Wmf();
    countsPlaceable[6] += 11;  // in words
    const Bytes stretchBlt =
        WmfRecord(0x0B23, {0x20, 0xCC, 2, 2, 0, 0, 20, 20, 10, 10, 2, 2, 2, 1, 1, 0x40, 0x80});
    const struct {
        const char* name;
        Bytes file, drawn;
    } cases[] = {
        {"length counting the placeable header", countsPlaceable, corpus::Wmf()},
        {"old bit-block", WmfWith(bitBlt(2)), WmfWith(bitBlt(2))},
        {"old stretched bit-block", WmfWith(stretchBlt), WmfWith(stretchBlt)},
        {"old bit-block whose rows run past it", WmfWith(bitBlt(3)), corpus::Wmf()},
        {"old bit-block without a bitmap, made a pattern fill",
         WmfWith(WmfRecord(0x0922, {0x21, 0xF0, 1, 2, 0, 3, 4, 5, 6})),
         WmfWith(WmfRecord(0x061D, {0x21, 0xF0, 3, 4, 5, 6}))},
        {"region of 7 words, made an empty brush", WmfWith(WmfRecord(0x06FF, {0, 0, 0, 0})),
         WmfWith(WmfRecord(0x02FC, {1, 0, 0, 0}))},
        {"escape whose count runs past it", WmfWith(WmfRecord(0x0626, {15, 100, 1, 2})),
         corpus::Wmf()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Sanitised("a.wmf", c.file), c.drawn) << c.name;
}

// Little-endian 32-bit fields.
Bytes Fields(std::initializer_list<std::uint32_t> values) {
    Bytes out;
    for (std::uint32_t v : values)
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return out;
}

// corpus::Emf() (two handles: the metafile and one brush) with `records` before its
// end-of-file record, and the header's handle count `handles`.
Bytes EmfWith(const Bytes& records, std::uint16_t handles = 2, std::uint32_t added = 1) {
    Bytes emf = corpus::Emf();
    emf.insert(emf.end() - 20, records.begin(), records.end());
    const Bytes size = Fields({static_cast<std::uint32_t>(emf.size()), 8 + added});
    std::copy(size.begin(), size.end(), emf.begin() + 48);
    emf[56] = static_cast<std::uint8_t>(handles);
    return emf;
}

TEST(MetafileChecks, RegionFillsNamingStockBrushesFillWithAMadeBrush) {
    // One rectangle, (10, 10)-(50, 40).
    const Bytes region = Fields({32, 1, 1, 16, 10, 10, 50, 40, 10, 10, 50, 40});
    const auto fill = [&](std::uint32_t brush) {
        Bytes r = Fields({71, 80, 10, 10, 49, 39, 48, brush});
        r.insert(r.end(), region.begin(), region.end());
        return r;
    };
    const auto frame = [&](std::uint32_t brush) {
        Bytes r = Fields({72, 88, 10, 10, 49, 39, 48, brush, 2, 2});
        r.insert(r.end(), region.begin(), region.end());
        return r;
    };
    const auto made = [&](std::uint32_t color, std::uint32_t style, const Bytes& record) {
        Bytes r = Fields({39, 24, 2, style, color, 0});  // in the spare slot, 2
        r.insert(r.end(), record.begin(), record.end());
        const Bytes deleted = Fields({40, 12, 2});
        r.insert(r.end(), deleted.begin(), deleted.end());
        return r;
    };
    const struct {
        const char* name;
        Bytes file, drawn;
    } cases[] = {
        {"frame with the black brush", EmfWith(frame(0x80000004)),
         EmfWith(made(0, 0, frame(2)), 3, 3)},
        {"fill with the grey brush", EmfWith(fill(0x80000002)),
         EmfWith(made(0x808080, 0, fill(2)), 3, 3)},
        {"fill with the hollow brush", EmfWith(fill(0x80000005)),
         EmfWith(made(0, 1, fill(2)), 3, 3)},
        {"fill with a stock font, played as nothing", EmfWith(fill(0x8000000D)), corpus::Emf()},
        {"fill with a made brush, as it is", EmfWith(fill(1)), EmfWith(fill(1))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Sanitised("a.emf", c.file), c.drawn) << c.name;
}

TEST(MetafileChecks, EachDamagedRecordIsRefusedOrLeftOut) {
    for (const corpus::NamedFile& file : corpus::HostileMetafiles()) {
        const std::optional<Bytes> copy = Sanitised(file.name, file.bytes);
        ASSERT_EQ(copy.has_value(), file.drawn) << file.name;
        if (!copy) continue;
        EXPECT_LT(copy->size(), file.bytes.size()) << file.name << ": the record left out";
        EXPECT_EQ(Sanitised(file.name, *copy), copy) << file.name << ": nothing left to rewrite";
    }
}

TEST(MetafileChecks, EveryCutOrChangedByteIsReadSafely) {
    // Under the sanitizers any read outside the file fails here; a metafile cut short lacks
    // its end-of-file record, or its header's length is past the cut. A copy to draw needs no
    // rewriting again.
    std::mt19937 random(5);
    // The enhanced one also in twips, whose mode the copy spells out.
    Bytes twips = corpus::Emf();
    const std::size_t headerSize = twips[4];
    const Bytes setTwips = {17, 0, 0, 0, 12, 0, 0, 0, 6, 0, 0, 0};
    twips.insert(twips.begin() + static_cast<long>(headerSize), setTwips.begin(), setTwips.end());
    twips[48] = static_cast<std::uint8_t>(twips[48] + 12);  // its length and records
    twips[52] = static_cast<std::uint8_t>(twips[52] + 1);
    ASSERT_TRUE(SanitisedEmf(twips.data(), twips.size()));
    ASSERT_NE(WithMetricModesSpelledOut(twips), twips);
    for (const char* name : {"a.emf", "twips.emf", "a.wmf"}) {
        const Bytes file = std::string(name) == "twips.emf"      ? twips
                           : std::string(name).ends_with(".emf") ? corpus::Emf()
                                                                 : corpus::Wmf();
        for (std::size_t cut = 0; cut < file.size(); ++cut)
            EXPECT_FALSE(
                Sanitised(name, Bytes(file.begin(), file.begin() + static_cast<long>(cut))))
                << name << " cut to " << cut;
        for (int round = 0; round < 3000; ++round) {
            Bytes changed = file;
            for (int i = 0; i < 3; ++i)
                changed[random() % changed.size()] = static_cast<std::uint8_t>(random());
            const std::optional<Bytes> copy = Sanitised(name, changed);
            if (copy) {
                EXPECT_EQ(Sanitised(name, *copy), copy) << name << " round " << round;
            }
            // A copy's map modes spelled out still passes the checks.
            if (copy && std::string(name).ends_with(".emf")) {
                const Bytes spelled = WithMetricModesSpelledOut(*copy);
                EXPECT_TRUE(SanitisedEmf(spelled.data(), spelled.size())) << "round " << round;
            }
        }
    }
    EXPECT_FALSE(SanitisedEmf(nullptr, 100));
    EXPECT_FALSE(SanitisedWmf(nullptr, 100));
}

}  // namespace
}  // namespace glimra
