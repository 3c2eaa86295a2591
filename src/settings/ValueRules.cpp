#include "settings/ValueRules.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <limits>

namespace glimra {

std::optional<double> ReadNumber(const std::wstring& text) {
    size_t i = 0, end = text.size();
    while (i < end && text[i] == L' ')
        ++i;
    while (end > i && text[end - 1] == L' ')
        --end;
    bool negative = false;
    if (i < end && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    double value = 0;
    int digits = 0;
    for (; i < end && text[i] >= L'0' && text[i] <= L'9'; ++i, ++digits) {
        value = value * 10 + (text[i] - L'0');
    }
    if (i < end && text[i] == L'.') {
        double scale = 0.1;
        for (++i; i < end && text[i] >= L'0' && text[i] <= L'9'; ++i, ++digits, scale /= 10) {
            value += (text[i] - L'0') * scale;
        }
    }
    if (digits == 0 || i != end) return std::nullopt;
    return negative ? -value : value;
}

bool OptionIsOn(const std::wstring& text) {
    const std::optional<double> number = ReadNumber(text);
    return !number || *number == 1.0;
}

std::optional<std::int32_t> ReadWholeNumber(const std::wstring& text) {
    const std::optional<double> number = ReadNumber(text);
    if (!number) return std::nullopt;
    const double rounded = std::nearbyint(*number);  // the default rounding: half to even
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

std::optional<std::int32_t> ReadLocalWholeNumber(const std::wstring& text, wchar_t separator) {
    if (separator == L'.') return ReadWholeNumber(text);
    if (text.find(L'.') != std::wstring::npos) return std::nullopt;
    std::wstring local = text;
    std::replace(local.begin(), local.end(), separator, L'.');
    return ReadWholeNumber(local);
}

std::optional<bool> ReadBoolean(const std::wstring& text) {
    std::wstring lower = text;
    for (wchar_t& c : lower)
        c = static_cast<wchar_t>(std::towlower(c));
    if (lower == L"true") return true;
    if (lower == L"false") return false;
    if (const std::optional<double> number = ReadNumber(text)) return *number != 0;
    return std::nullopt;
}

std::int32_t NextStartCount(std::int32_t count) {
    return count == std::numeric_limits<std::int32_t>::max() ? count : count + 1;
}

std::wstring OptionOrOn(std::wstring text) {
    return text.empty() ? L"1" : text;
}

}  // namespace glimra
