#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace glimra::corpus {

// Small picture files built byte by byte, sound and damaged, for the checks' host tests, the
// loader's platform tests and the end-to-end run of the program over a folder of them.
using Bytes = std::vector<std::uint8_t>;

struct NamedFile {
    std::string name;  // a file name with the extension the kind of file would have
    Bytes bytes;
    bool drawn = false;  // a metafile drawn once its damaged record is played as nothing
};

// Writers of the smallest sound files of each kind.
Bytes Bmp(std::int32_t width, std::int32_t height, const Bytes* rle = nullptr);  // 24-bit / RLE8
Bytes Gif(std::uint32_t screenW, std::uint32_t screenH, std::uint32_t width, std::uint32_t height,
          const Bytes& lzw, std::uint32_t minimumCodeSize = 2);
Bytes Jpeg(std::uint32_t width, std::uint32_t height, std::uint32_t precision = 8);  // markers
Bytes Icon(std::int32_t size, std::uint32_t count = 1);
// An enhanced metafile with a brush, a polygon, a text, a bitmap and the end-of-file record.
Bytes Emf();
// A Windows metafile with the same drawing.
Bytes Wmf();
// A record of a Windows metafile: its function, its parameter words, then `more` bytes.
Bytes WmfRecord(std::uint16_t function, std::initializer_list<std::uint16_t> words,
                const Bytes& more = {});
// `record` put into a Windows metafile (from its 18-byte header) at `at`, with the header's
// length and longest record made to fit.
Bytes WithRecord(Bytes wmf, std::size_t at, const Bytes& record);

inline const Bytes kOneGifPixel = {0x44, 0x01};  // LZW codes of 3 bits: clear, colour 0, end
inline const Bytes kSoundRle = {2, 7, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1};  // for a 3 x 2 RLE8 bitmap

// One sound file of each kind above.
std::vector<NamedFile> SoundFiles();
// Raster files whose headers claim too much, point outside the file or hold bad RLE runs or
// LZW codes: each refused by the header checks.
std::vector<NamedFile> HostileRasters();
// Metafiles with one damaged record each, otherwise sound: each refused by the record walk, or,
// where only the record's own counts or bitmap are wrong, drawn without that record.
std::vector<NamedFile> HostileMetafiles();

}  // namespace glimra::corpus
