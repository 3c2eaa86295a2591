#include <gtest/gtest.h>

#include <memory>

#include "win32/TestPictures.h"
#include "win32/pictures/Pictures.h"
#include "win32/pictures/WicPictureLoader.h"

namespace glimra::win32 {
namespace {

using namespace glimra::win32::testing;

// Where the segment after the start marker's first segment begins.
size_t SecondSegment(const Bytes& jpeg) {
    return 4 + (size_t{jpeg[4]} << 8 | jpeg[5]);
}

TEST(StrayJpegBytes, AreShownAsTheUndamagedTwin) {
    const Bytes twin = EncodeJpeg(Quadrants(320, 240));
    ASSERT_GT(twin.size(), 64u);
    ASSERT_EQ(twin[2], 0xFF);
    const size_t second = SecondSegment(twin);
    ASSERT_EQ(twin[second], 0xFF);
    const auto damaged = [&](size_t at, const Bytes& bytes, bool replace) {
        Bytes file = twin;
        if (replace) {
            std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<long>(at));
        } else {
            file.insert(file.begin() + static_cast<long>(at), bytes.begin(), bytes.end());
        }
        return file;
    };
    WicPictureLoader loader(GetModuleHandleW(nullptr), 1920, 1080, 96.0f);
    const auto decode = [&](const Bytes& file) {
        return std::dynamic_pointer_cast<const RasterPicture>(
            loader.Decode(file.data(), file.size()));
    };
    const auto shown = decode(twin);
    ASSERT_TRUE(shown);
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"00 for the FF of the first segment's marker", damaged(2, {0x00}, true)},
        {"one 00 byte between two segments", damaged(second, {0x00}, false)},
        {"random bytes between two segments",
         damaged(second, {0x3C, 0x00, 0xD9, 0x81, 0x00, 0x7F, 0xC0}, false)},
        {"FF 00 between two segments", damaged(second, {0xFF, 0x00}, false)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto picture = decode(c.file);
        ASSERT_TRUE(picture);
        EXPECT_TRUE(picture->Pixels().pixels == shown->Pixels().pixels);
    }
}

}  // namespace
}  // namespace glimra::win32
