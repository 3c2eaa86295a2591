// Writes the damaged files the end-to-end test runs the slide show over: the corpus of
// damaged headers and records, and the given sample pictures cut short at many offsets,
// with bytes changed, and (JPEGs) with EXIF blocks whose offsets point anywhere.
//
//   e2e_corpus <folder> <sample file>...
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <random>
#include <string>

#include "corpus/HostileFiles.h"

using glimra::corpus::Bytes;

namespace {

std::string folder;
int written = 0;

void Write(const std::string& name, const Bytes& bytes) {
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    written += out.good() ? 1 : 0;
}

// A JPEG with an EXIF block whose directory lies at `directory` and counts `entries`.
Bytes WithBadExif(const Bytes& jpeg, std::uint32_t directory, std::uint16_t entries) {
    Bytes out;
    out.reserve(jpeg.size() + 64);
    const auto put = [&out](std::initializer_list<std::uint32_t> bytes) {
        for (std::uint32_t b : bytes)
            out.push_back(static_cast<std::uint8_t>(b));
    };
    put({0xFF, 0xD8, 0xFF, 0xE1, 0, 2 + 6 + 22, 'E', 'x', 'i', 'f', 0, 0});
    put({'M', 'M', 0, 42, directory >> 24, directory >> 16, directory >> 8, directory});
    put({std::uint32_t{entries} >> 8, entries});
    put({0x01, 0x12, 0, 3, 0xFF, 0xFF, 0xFF, 0xFF, 0, 6, 0, 0});  // orientation, bad count
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: e2e_corpus <folder> <sample file>...\n");
        return 2;
    }
    folder = argv[1];
    for (const auto& file : glimra::corpus::HostileRasters())
        Write(file.name, file.bytes);
    for (const auto& file : glimra::corpus::HostileMetafiles())
        Write(file.name, file.bytes);
    std::mt19937 random(1234);
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const Bytes sample((std::istreambuf_iterator<char>(in)), {});
        const std::string name = argv[i];
        const std::string base = name.substr(name.find_last_of("/\\") + 1);
        const std::string extension = base.substr(base.find_last_of('.'));
        if (sample.size() < 64) continue;
        for (std::size_t cut : {std::size_t{2}, std::size_t{10}, std::size_t{26}, std::size_t{54},
                                sample.size() / 2, sample.size() - 2}) {
            Write("cut-" + std::to_string(cut) + "-" + base,
                  Bytes(sample.begin(), sample.begin() + static_cast<long>(cut)));
        }
        for (int round = 0; round < 2; ++round) {
            Bytes changed = sample;
            for (int k = 0; k < 8; ++k)
                changed[6 + random() % (changed.size() - 6)] = static_cast<std::uint8_t>(random());
            Write("changed-" + std::to_string(round) + "-" + base, changed);
        }
        Bytes noise(4096);
        for (auto& b : noise)
            b = static_cast<std::uint8_t>(random());
        Write("noise" + extension, noise);
        const std::string text = "not a picture, only text\r\n";
        Write("text" + extension, Bytes(text.begin(), text.end()));
        if (extension == ".jpg") {
            Write("exif-directory-past-end.jpg", WithBadExif(sample, 0xFFFFFF00u, 1));
            Write("exif-entries-past-end.jpg", WithBadExif(sample, 8, 0xFFFF));
        }
    }
    std::printf("%d\n", written);
    return 0;
}
