#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "imaging/EmfMapModes.h"

namespace glimra {
namespace {

using Record = std::vector<std::int32_t>;  // the type, then the fields

void Put(std::vector<std::uint8_t>& out, std::int64_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A metafile of `records` and its end for a reference device of 1000 x 800 pixels on
// 200 x 160 millimetres (`millimetres` across, to spoil it).
std::vector<std::uint8_t> Metafile(const std::vector<Record>& records, int millimetres = 200) {
    std::vector<std::uint8_t> out;
    for (const std::int64_t v : {1, 88, 0, 0, 1000, 800, 0, 0, 20000, 16000, 0x464D4520, 0x10000})
        Put(out, v);
    Put(out, 0);  // bytes, filled in below
    Put(out, static_cast<std::int64_t>(records.size()) + 2);
    for (const std::int64_t v : {1, 0, 0, 0, 1000, 800, millimetres, 160})
        Put(out, v);
    std::vector<Record> all = records;
    all.push_back({14, 0, 16, 20});
    for (const Record& record : all) {
        Put(out, record[0]);
        Put(out, 4 + 4 * static_cast<std::int64_t>(record.size()));
        for (std::size_t i = 1; i < record.size(); ++i)
            Put(out, record[i]);
    }
    for (int i = 0; i < 4; ++i)
        out[48 + i] = static_cast<std::uint8_t>(out.size() >> (8 * i));
    return out;
}

TEST(EmfMapModes, MetricModesAreSpelledOutAndTheExtentsTheyIgnoreLeftOut) {
    const Record twips = {17, 6}, text = {17, 1}, windowExt = {9, 3, 4}, viewportExt = {11, 5, 6};
    const Record scaled = {31, 1, 2, 1, 2}, save = {33}, restore = {34, -1}, origin = {10, 7, 8};
    // Twips: 200 mm is 11,339 twips across the device's 1000 pixels; y upwards.
    const std::vector<Record> spelledTwips = {{17, 8}, {9, 11339, 9071}, {11, 1000, -800}};
    struct Case {
        const char* what;
        std::vector<Record> records;
        std::vector<Record> expected;
    } cases[] = {
        {"no metric mode: as it is", {text, windowExt, origin}, {text, windowExt, origin}},
        {"twips, then extents it ignores and an origin it keeps",
         {twips, windowExt, viewportExt, scaled, origin},
         {spelledTwips[0], spelledTwips[1], spelledTwips[2], origin}},
        {"hundredths of a millimetre", {{17, 3}}, {{17, 8}, {9, 20000, 16000}, {11, 1000, -800}}},
        {"back to text: its extents count again",
         {twips, text, windowExt},
         {spelledTwips[0], spelledTwips[1], spelledTwips[2], text, windowExt}},
        {"a restored state takes its mode back",
         {text, save, twips, restore, windowExt},
         {text, save, spelledTwips[0], spelledTwips[1], spelledTwips[2], restore, windowExt}},
        {"a restore to the first save, by number",
         {twips, save, text, save, {34, 1}, viewportExt},
         {spelledTwips[0], spelledTwips[1], spelledTwips[2], save, text, save, {34, 1}}},
        {"a restore of nothing saved changes nothing",
         {twips, {34, -3}, windowExt},
         {spelledTwips[0], spelledTwips[1], spelledTwips[2], {34, -3}}},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> got = WithMetricModesSpelledOut(Metafile(c.records));
        EXPECT_EQ(got, Metafile(c.expected)) << c.what;
    }
    // A reference device without a size: no units to spell a mode out in.
    const std::vector<std::uint8_t> sizeless = Metafile({twips, windowExt}, 0);
    EXPECT_EQ(WithMetricModesSpelledOut(sizeless), sizeless);
}

}  // namespace
}  // namespace glimra
