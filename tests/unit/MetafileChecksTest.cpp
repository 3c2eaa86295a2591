#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "corpus/HostileFiles.h"
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
    for (const char* name : {"a.emf", "a.wmf"}) {
        const Bytes file = std::string(name).ends_with(".emf") ? corpus::Emf() : corpus::Wmf();
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
        }
    }
    EXPECT_FALSE(SanitisedEmf(nullptr, 100));
    EXPECT_FALSE(SanitisedWmf(nullptr, 100));
}

}  // namespace
}  // namespace glimra
