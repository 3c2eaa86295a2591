#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "corpus/HostileFiles.h"
#include "imaging/MetafileChecks.h"

namespace glimra {
namespace {

using corpus::Bytes;

bool Sound(const std::string& name, const Bytes& file) {
    return name.ends_with(".emf") ? EmfRecordsSound(file.data(), file.size())
                                  : WmfRecordsSound(file.data(), file.size());
}

TEST(MetafileChecks, SoundMetafilesPass) {
    EXPECT_TRUE(Sound("a.emf", corpus::Emf()));
    EXPECT_TRUE(Sound("a.wmf", corpus::Wmf()));
    // The first header of the format was 80 bytes long, without the later fields.
    Bytes old = corpus::Emf();
    old.erase(old.begin() + 80, old.begin() + 108);
    old[4] = 80;
    old[48] = static_cast<std::uint8_t>(old.size());
    old[49] = static_cast<std::uint8_t>(old.size() >> 8);
    EXPECT_TRUE(Sound("old.emf", old));
}

TEST(MetafileChecks, EachDamagedRecordIsRefused) {
    for (const corpus::NamedFile& file : corpus::HostileMetafiles())
        EXPECT_FALSE(Sound(file.name, file.bytes)) << file.name;
}

TEST(MetafileChecks, EveryCutOrChangedByteIsReadSafely) {
    // Under the sanitizers any read outside the file fails here; a metafile cut short lacks
    // its end-of-file record, or its header's length is past the cut.
    std::mt19937 random(5);
    for (const char* name : {"a.emf", "a.wmf"}) {
        const Bytes file = std::string(name).ends_with(".emf") ? corpus::Emf() : corpus::Wmf();
        for (std::size_t cut = 0; cut < file.size(); ++cut)
            EXPECT_FALSE(Sound(name, Bytes(file.begin(), file.begin() + static_cast<long>(cut))))
                << name << " cut to " << cut;
        for (int round = 0; round < 3000; ++round) {
            Bytes changed = file;
            for (int i = 0; i < 3; ++i)
                changed[random() % changed.size()] = static_cast<std::uint8_t>(random());
            Sound(name, changed);
        }
    }
    EXPECT_FALSE(EmfRecordsSound(nullptr, 100));
    EXPECT_FALSE(WmfRecordsSound(nullptr, 100));
}

}  // namespace
}  // namespace glimra
