#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace glimra {

// The rules every reader of the settings follows, so that both windows agree on a value.

// The text read as a decimal number: blanks around it, an optional sign, digits with an
// optional fraction. Nothing when it is not such a number.
std::optional<double> ReadNumber(const std::wstring& text);

// An option is on when its text reads as the number 1, and also when it cannot be read as a
// number at all (the empty text included); any other number is off.
bool OptionIsOn(const std::wstring& text);

// The text read as a signed 32-bit whole number, a fraction rounded to the nearest whole
// number (a half to the even one). Nothing when the text is empty, not a number or out of
// range: the reader then keeps the value it had.
std::optional<std::int32_t> ReadWholeNumber(const std::wstring& text);

// A number the user typed, read with the decimal separator of the user's locale, as a whole
// number by the rule above. Where the separator is not a point, a point is not part of a
// number.
std::optional<std::int32_t> ReadLocalWholeNumber(const std::wstring& text, wchar_t separator);

// A stored truth value: "True" or "False" in any letter case, or a number (0 is false, any
// other is true). Nothing for any other text, the empty one included.
std::optional<bool> ReadBoolean(const std::wstring& text);

// The next value of the start counter: one more, but never past the largest 32-bit number.
std::int32_t NextStartCount(std::int32_t count);

// An empty option text stands for "1".
std::wstring OptionOrOn(std::wstring text);

}  // namespace glimra
