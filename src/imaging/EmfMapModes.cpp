#include "imaging/EmfMapModes.h"

#include <cmath>
#include <initializer_list>

#include "imaging/ByteView.h"
#include "imaging/DibChecks.h"
#include "imaging/EmfRecords.h"

namespace glimra {
namespace {

using detail::Put32;
using namespace emf;

constexpr std::int32_t kAnisotropic = 8;

// Logical units to the millimetre of the metric modes (2 to 6), as GDI fixes them.
double UnitsPerMillimetre(std::uint32_t mode) {
    switch (mode) {
        case 2:
            return 10.0;  // tenths of a millimetre
        case 3:
            return 100.0;  // hundredths
        case 4:
            return 100.0 / 25.4;  // hundredths of an inch
        case 5:
            return 1000.0 / 25.4;  // thousandths
        case 6:
            return 1440.0 / 25.4;  // twips
        default:
            return 0.0;
    }
}

void PutRecord(std::vector<std::uint8_t>& out, std::uint32_t type,
               std::initializer_list<std::int32_t> fields) {
    const std::size_t at = out.size();
    out.resize(at + 8 + 4 * fields.size());
    Put32(out, at, type);
    Put32(out, at + 4, 8 + 4 * fields.size());
    std::size_t field = at + 8;
    for (const std::int32_t value : fields) {
        Put32(out, field, static_cast<std::uint32_t>(value));
        field += 4;
    }
}

}  // namespace

std::vector<std::uint8_t> WithMetricModesSpelledOut(std::vector<std::uint8_t> emf) {
    const ByteView file(emf.data(), emf.size());
    const std::uint64_t headerSize = file.U32(4);
    const auto pixelsX = static_cast<std::int32_t>(file.U32(72));
    const auto pixelsY = static_cast<std::int32_t>(file.U32(76));
    const auto millimetresX = static_cast<std::int32_t>(file.U32(80));
    const auto millimetresY = static_cast<std::int32_t>(file.U32(84));
    if (emf.size() < 88 || headerSize < 88 || headerSize > emf.size() || pixelsX <= 0 ||
        pixelsY <= 0 || millimetresX <= 0 || millimetresY <= 0) {
        return emf;
    }
    std::vector<std::uint8_t> out(emf.begin(),
                                  emf.begin() + static_cast<std::ptrdiff_t>(headerSize));
    std::int64_t records = file.U32(52);
    bool metric = false, changed = false;
    std::vector<bool> saved;  // whether a metric mode was in force at each saved state
    for (std::uint64_t at = headerSize; at + 8 <= emf.size();) {
        const std::uint32_t type = file.U32(at);
        const std::uint64_t length = file.U32(at + 4);
        if (length < 8 || length > emf.size() - at) return emf;
        const std::uint32_t argument = length >= 12 ? file.U32(at + 8) : 0;
        bool copy = true;
        if (type == kSetMapMode && length >= 12) {
            metric = UnitsPerMillimetre(argument) > 0;
            if (metric) {
                const double units = UnitsPerMillimetre(argument);
                PutRecord(out, kSetMapMode, {kAnisotropic});
                PutRecord(out, kSetWindowExtEx,
                          {static_cast<std::int32_t>(std::lround(millimetresX * units)),
                           static_cast<std::int32_t>(std::lround(millimetresY * units))});
                PutRecord(out, kSetViewportExtEx, {pixelsX, -pixelsY});
                records += 2;
                copy = false;
                changed = true;
            }
        } else if (metric && (type == kSetWindowExtEx || type == kSetViewportExtEx ||
                              type == kScaleViewportExtEx || type == kScaleWindowExtEx)) {
            --records;  // a metric mode keeps its extents
            copy = false;
        } else if (type == kSaveDc) {
            saved.push_back(metric);
        } else if (type == kRestoreDc && length >= 12) {
            // A negative count goes back that many saves, a positive one to that save.
            const auto which = static_cast<std::int32_t>(argument);
            const std::int64_t keep = which < 0 ? static_cast<std::int64_t>(saved.size()) + which
                                                : static_cast<std::int64_t>(which) - 1;
            if (keep >= 0 && keep < static_cast<std::int64_t>(saved.size())) {
                metric = saved[static_cast<std::size_t>(keep)];
                saved.resize(static_cast<std::size_t>(keep));
            }
        }
        if (copy)
            out.insert(out.end(), emf.begin() + static_cast<std::ptrdiff_t>(at),
                       emf.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        if (type == kEof) break;
    }
    if (!changed) return emf;
    Put32(out, 48, out.size());
    Put32(out, 52, static_cast<std::uint64_t>(records));
    return out;
}

}  // namespace glimra
