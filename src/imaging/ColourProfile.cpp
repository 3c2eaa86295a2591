#include "imaging/ColourProfile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>

#include "imaging/ByteView.h"

namespace glimra {
namespace {

constexpr std::uint32_t Signature(const char (&text)[5]) {
    return std::uint32_t(std::uint8_t(text[0])) << 24 | std::uint32_t(std::uint8_t(text[1])) << 16 |
           std::uint32_t(std::uint8_t(text[2])) << 8 | std::uint32_t(std::uint8_t(text[3]));
}

constexpr std::size_t kHeaderBytes = 128;

// The segments of a JPEG before its scan: `visit(marker, offset of the body, body length)`.
template <typename Visit>
void JpegSegments(const ByteView& file, Visit visit) {
    if (file.U16Be(0) != 0xFFD8) return;
    std::size_t pos = 2;
    while (file.Has(pos, 4) && file.U8(pos) == 0xFF) {
        while (file.Has(pos, 1) && file.U8(pos) == 0xFF)
            ++pos;
        const std::uint32_t marker = file.U8(pos++);
        if (marker == 0xDA || marker == 0xD9) return;                        // the scan, or the end
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no body
        const std::uint32_t length = file.U16Be(pos);
        if (length < 2 || !file.Has(pos, length)) return;
        visit(marker, pos + 2, std::size_t{length} - 2);
        pos += length;
    }
}

// Reads of a TIFF structure in its own byte order.
struct Tiff {
    ByteView bytes;
    bool bigEndian;
    std::uint32_t U16(std::size_t at) const { return bigEndian ? bytes.U16Be(at) : bytes.U16(at); }
    std::uint32_t U32(std::size_t at) const { return bigEndian ? bytes.U32Be(at) : bytes.U32(at); }
    // The entry of `tag` in the directory at `ifd`, or 0.
    std::size_t Entry(std::size_t ifd, std::uint32_t tag) const {
        const std::uint32_t count = U16(ifd);
        for (std::uint32_t i = 0; i < count && bytes.Has(ifd + 2 + 12 * i, 12); ++i)
            if (U16(ifd + 2 + 12 * i) == tag) return ifd + 2 + 12 * i;
        return 0;
    }
};

double S15Fixed16(const ByteView& bytes, std::size_t at) {
    return static_cast<std::int32_t>(bytes.U32Be(at)) / 65536.0;
}

// The tone curve of a 'curv' or 'para' element, or nothing when it is damaged.
std::function<double(double)> ToneCurve(const ByteView& profile, std::size_t at, std::size_t size) {
    if (size < 12 || !profile.Has(at, size)) return nullptr;
    const std::uint32_t type = profile.U32Be(at);
    if (type == Signature("curv")) {
        const std::uint32_t count = profile.U32Be(at + 8);
        if (count > (size - 12) / 2) return nullptr;
        if (count == 0) return [](double x) { return x; };
        if (count == 1) {
            const double gamma = profile.U16Be(at + 12) / 256.0;
            if (gamma <= 0) return nullptr;
            return [gamma](double x) { return std::pow(x, gamma); };
        }
        std::vector<double> table(count);
        for (std::uint32_t i = 0; i < count; ++i)
            table[i] = profile.U16Be(at + 12 + 2 * std::size_t{i}) / 65535.0;
        return [table = std::move(table)](double x) {
            const double place = std::clamp(x, 0.0, 1.0) * double(table.size() - 1);
            const std::size_t i = std::min(static_cast<std::size_t>(place), table.size() - 2);
            return table[i] + (table[i + 1] - table[i]) * (place - double(i));
        };
    }
    if (type != Signature("para")) return nullptr;
    static constexpr int kParameters[] = {1, 3, 4, 5, 7};
    const std::uint32_t function = profile.U16Be(at + 8);
    if (function > 4 || size < 12 + 4 * std::size_t(kParameters[function])) return nullptr;
    std::array<double, 7> p{};
    for (int i = 0; i < kParameters[function]; ++i)
        p[i] = S15Fixed16(profile, at + 12 + 4 * std::size_t(i));
    const double g = p[0], a = p[1], b = p[2], c = p[3], d = p[4], e = p[5], f = p[6];
    if ((function == 1 || function == 2) && a == 0) return nullptr;
    const auto power = [g](double base) { return base > 0 ? std::pow(base, g) : 0.0; };
    switch (function) {
        case 0:
            return [power](double x) { return power(x); };
        case 1:
            return [=](double x) { return x >= -b / a ? power(a * x + b) : 0.0; };
        case 2:
            return [=](double x) { return x >= -b / a ? power(a * x + b) + c : c; };
        case 3:
            return [=](double x) { return x >= d ? power(a * x + b) : c * x; };
        default:
            return [=](double x) { return x >= d ? power(a * x + b) + e : c * x + f; };
    }
}

}  // namespace

std::vector<std::uint8_t> JpegEmbeddedProfile(const std::uint8_t* data, std::size_t size) {
    const ByteView file(data, size);
    static constexpr char kTag[] = "ICC_PROFILE";  // with its terminating zero: 12 bytes
    std::map<std::uint32_t, std::pair<std::size_t, std::size_t>> chunks;
    std::uint32_t expected = 0;
    bool sound = true;
    std::size_t total = 0;
    JpegSegments(file, [&](std::uint32_t marker, std::size_t body, std::size_t length) {
        if (marker != 0xE2 || length < 14 || std::memcmp(data + body, kTag, 12) != 0) return;
        const std::uint32_t number = file.U8(body + 12), count = file.U8(body + 13);
        if (expected == 0) expected = count;
        total += length - 14;
        if (number == 0 || number > count || count != expected ||
            !chunks.emplace(number, std::make_pair(body + 14, length - 14)).second) {
            sound = false;
        }
    });
    if (!sound || expected == 0 || chunks.size() != expected || total > kMaxProfileBytes) {
        return {};
    }
    std::vector<std::uint8_t> profile;
    profile.reserve(total);
    for (const auto& [number, chunk] : chunks)
        profile.insert(profile.end(), data + chunk.first, data + chunk.first + chunk.second);
    return profile;
}

std::vector<std::uint8_t> BmpEmbeddedProfile(const std::uint8_t* data, std::size_t size) {
    const ByteView file(data, size);
    constexpr std::size_t kInfo = 14;                // the info header follows the file header
    constexpr std::uint32_t kEmbedded = 0x4D424544;  // 'MBED'
    if (file.U16(0) != 0x4D42 || file.U32(kInfo) < 124 || file.U32(kInfo + 56) != kEmbedded) {
        return {};
    }
    const std::uint64_t at = std::uint64_t{kInfo} + file.U32(kInfo + 112);
    const std::uint32_t length = file.U32(kInfo + 116);
    if (length == 0 || length > kMaxProfileBytes || !file.Has(at, length)) return {};
    return std::vector<std::uint8_t>(data + at, data + at + length);
}

bool JpegExifSaysAdobeRgb(const std::uint8_t* data, std::size_t size) {
    const ByteView file(data, size);
    bool adobe = false;
    JpegSegments(file, [&](std::uint32_t marker, std::size_t body, std::size_t length) {
        if (adobe || marker != 0xE1 || length < 14 || std::memcmp(data + body, "Exif\0\0", 6) != 0)
            return;
        const Tiff tiff{ByteView(data + body + 6, length - 6), data[body + 6] == 'M'};
        if (tiff.U16(2) != 42) return;
        const std::size_t exifPointer = tiff.Entry(tiff.U32(4), 0x8769);
        if (!exifPointer) return;
        const std::size_t exif = tiff.U32(exifPointer + 8);
        const std::size_t colourSpace = tiff.Entry(exif, 0xA001);
        const std::size_t interopPointer = tiff.Entry(exif, 0xA005);
        if (!colourSpace || tiff.U16(colourSpace + 8) != 0xFFFF || !interopPointer) return;
        const std::size_t index = tiff.Entry(tiff.U32(interopPointer + 8), 0x0001);
        // "R03" and its terminating zero fit in the entry's own value field.
        adobe = index && tiff.bytes.Has(index + 8, 3) &&
                std::memcmp(data + body + 6 + index + 8, "R03", 3) == 0;
    });
    return adobe;
}

std::optional<InputProfile> CheckInputProfile(const std::vector<std::uint8_t>& bytes,
                                              ProfileSpace pixels) {
    const ByteView profile(bytes.data(), bytes.size());
    const std::uint32_t declared = profile.U32Be(0);
    if (bytes.size() > kMaxProfileBytes || declared < kHeaderBytes + 4 || declared > bytes.size() ||
        profile.U32Be(36) != Signature("acsp")) {
        return std::nullopt;
    }
    const std::uint32_t deviceClass = profile.U32Be(12);
    if (deviceClass != Signature("scnr") && deviceClass != Signature("mntr") &&
        deviceClass != Signature("prtr") && deviceClass != Signature("spac")) {
        return std::nullopt;  // device links, abstract and named-colour profiles describe no pixels
    }
    static constexpr std::pair<ProfileSpace, std::uint32_t> kSpaces[] = {
        {ProfileSpace::Rgb, Signature("RGB ")},
        {ProfileSpace::Grey, Signature("GRAY")},
        {ProfileSpace::Cmyk, Signature("CMYK")},
    };
    const std::uint32_t space = profile.U32Be(16), connection = profile.U32Be(20);
    if (std::none_of(std::begin(kSpaces), std::end(kSpaces),
                     [&](const auto& known) {
                         return known == std::pair{pixels, space};
                     }) ||
        (connection != Signature("XYZ ") && connection != Signature("Lab "))) {
        return std::nullopt;
    }
    const std::uint32_t count = profile.U32Be(kHeaderBytes);
    if (count > (declared - kHeaderBytes - 4) / 12) return std::nullopt;
    std::map<std::uint32_t, std::pair<std::size_t, std::size_t>> tags;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = kHeaderBytes + 4 + 12 * std::size_t{i};
        const std::uint32_t offset = profile.U32Be(entry + 4), size = profile.U32Be(entry + 8);
        if (offset < kHeaderBytes || std::uint64_t{offset} + size > declared) return std::nullopt;
        tags[profile.U32Be(entry)] = {offset, size};
    }
    const auto has = [&](std::initializer_list<const char*> names) {
        return std::all_of(names.begin(), names.end(), [&](const char* name) {
            char text[5] = {};
            std::memcpy(text, name, 4);
            return tags.count(Signature(text)) != 0;
        });
    };
    const bool tables = has({"A2B0"}) || has({"A2B1"});
    const char* curveTag = pixels == ProfileSpace::Grey ? "kTRC" : "gTRC";
    const bool matrix = pixels == ProfileSpace::Rgb
                            ? has({"rXYZ", "gXYZ", "bXYZ", "rTRC", "gTRC", "bTRC"})
                            : pixels == ProfileSpace::Grey && has({"kTRC"});
    if (!tables && !matrix) return std::nullopt;

    const std::uint32_t intent = profile.U32Be(64);
    InputProfile input{pixels, intent <= 3 ? static_cast<int>(intent) : 0, nullptr};
    if (matrix) {
        char name[5] = {};
        std::memcpy(name, curveTag, 4);
        const auto [offset, size] = tags[Signature(name)];
        input.toLinear = ToneCurve(profile, offset, size);
        if (!input.toLinear) return std::nullopt;
    }
    return input;
}

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                m[i][j] += a[i][k] * b[k][j];
    return m;
}

Matrix Inverse(const Matrix& m) {
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Matrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int a = (j + 1) % 3, b = (j + 2) % 3, c = (i + 1) % 3, d = (i + 2) % 3;
            r[i][j] = (m[a][c] * m[b][d] - m[a][d] * m[b][c]) / det;
        }
    return r;
}

std::array<double, 3> XyzOf(const double xy[2]) {
    return {xy[0] / xy[1], 1.0, (1 - xy[0] - xy[1]) / xy[1]};
}

// Big-endian writing of a profile's elements.
struct ProfileWriter {
    std::vector<std::uint8_t> bytes;
    void U32(std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<std::uint8_t>(v >> shift));
    }
    void U16(std::uint32_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
        bytes.push_back(static_cast<std::uint8_t>(v));
    }
    void Fixed(double v) { U32(static_cast<std::uint32_t>(std::lround(v * 65536.0))); }
    void Put(std::uint32_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    }
    void Align() {
        while (bytes.size() % 4)
            bytes.push_back(0);
    }
};

}  // namespace

std::vector<std::uint8_t> MatrixProfile(const double primaries[3][2], const double white[2],
                                        double gamma) {
    // Columns: each primary's XYZ, scaled so that the three add up to the white.
    Matrix rgb{};
    for (int c = 0; c < 3; ++c) {
        const auto xyz = XyzOf(primaries[c]);
        for (int i = 0; i < 3; ++i)
            rgb[i][c] = xyz[i];
    }
    const auto w = XyzOf(white);
    const Matrix inverse = Inverse(rgb);
    for (int c = 0; c < 3; ++c) {
        const double scale = inverse[c][0] * w[0] + inverse[c][1] * w[1] + inverse[c][2] * w[2];
        for (int i = 0; i < 3; ++i)
            rgb[i][c] *= scale;
    }
    // Profiles connect at D50: the colorants adapted to it from the picture's white (Bradford).
    static constexpr Matrix kBradford = {
        {{0.8951, 0.2664, -0.1614}, {-0.7502, 1.7135, 0.0367}, {0.0389, -0.0685, 1.0296}}};
    static constexpr std::array<double, 3> kD50 = {0.9642, 1.0, 0.8249};
    Matrix gain{};
    for (int i = 0; i < 3; ++i) {
        const double to =
            kBradford[i][0] * kD50[0] + kBradford[i][1] * kD50[1] + kBradford[i][2] * kD50[2];
        const double from =
            kBradford[i][0] * w[0] + kBradford[i][1] * w[1] + kBradford[i][2] * w[2];
        gain[i][i] = to / from;
    }
    const Matrix colorants = Multiply(Multiply(Inverse(kBradford), gain), Multiply(kBradford, rgb));

    ProfileWriter out;
    out.bytes.assign(kHeaderBytes, 0);
    out.Put(8, 0x02100000);  // version 2.1
    out.Put(12, Signature("mntr"));
    out.Put(16, Signature("RGB "));
    out.Put(20, Signature("XYZ "));
    out.Put(36, Signature("acsp"));
    out.Put(68, static_cast<std::uint32_t>(std::lround(kD50[0] * 65536)));
    out.Put(72, static_cast<std::uint32_t>(std::lround(kD50[1] * 65536)));
    out.Put(76, static_cast<std::uint32_t>(std::lround(kD50[2] * 65536)));
    static constexpr const char* kTags[] = {"desc", "wtpt", "rXYZ", "gXYZ",
                                            "bXYZ", "rTRC", "gTRC", "bTRC"};
    constexpr std::uint32_t kTagCount = 8;
    out.U32(kTagCount);
    const std::size_t table = out.bytes.size();
    out.bytes.resize(table + 12 * kTagCount);
    std::uint32_t offsets[kTagCount] = {}, sizes[kTagCount] = {};
    const auto element = [&](int tag, auto write) {
        offsets[tag] = static_cast<std::uint32_t>(out.bytes.size());
        write();
        sizes[tag] = static_cast<std::uint32_t>(out.bytes.size()) - offsets[tag];
        out.Align();
    };
    element(0, [&] {
        static constexpr char kName[] = "Glimra matrix profile";
        out.U32(Signature("desc"));
        out.U32(0);
        out.U32(sizeof(kName));
        out.bytes.insert(out.bytes.end(), kName, kName + sizeof(kName));
        out.bytes.resize(out.bytes.size() + 4 + 4 + 2 + 1 + 67, 0);
    });
    const auto xyz = [&](double x, double y, double z) {
        out.U32(Signature("XYZ "));
        out.U32(0);
        out.Fixed(x);
        out.Fixed(y);
        out.Fixed(z);
    };
    element(1, [&] { xyz(w[0], w[1], w[2]); });
    for (int c = 0; c < 3; ++c)
        element(2 + c, [&] { xyz(colorants[0][c], colorants[1][c], colorants[2][c]); });
    element(5, [&] {
        out.U32(Signature("curv"));
        out.U32(0);
        out.U32(1);
        out.U16(static_cast<std::uint32_t>(std::lround(gamma * 256)));
    });
    offsets[6] = offsets[7] = offsets[5];  // the three channels share one curve
    sizes[6] = sizes[7] = sizes[5];
    for (std::uint32_t t = 0; t < kTagCount; ++t) {
        char name[5] = {};
        std::memcpy(name, kTags[t], 4);
        out.Put(static_cast<std::uint32_t>(table + 12 * t), Signature(name));
        out.Put(static_cast<std::uint32_t>(table + 12 * t + 4), offsets[t]);
        out.Put(static_cast<std::uint32_t>(table + 12 * t + 8), sizes[t]);
    }
    out.Put(0, static_cast<std::uint32_t>(out.bytes.size()));
    return out.bytes;
}

std::vector<std::uint8_t> AdobeRgbProfile() {
    static constexpr double kPrimaries[3][2] = {{0.64, 0.33}, {0.21, 0.71}, {0.15, 0.06}};
    static constexpr double kD65[2] = {0.3127, 0.3290};
    return MatrixProfile(kPrimaries, kD65, 563.0 / 256.0);
}

}  // namespace glimra
