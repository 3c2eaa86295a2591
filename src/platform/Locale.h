#pragma once

namespace glimra {

// The user's number format: numbers the user types are read with it.
class Locale {
  public:
    virtual ~Locale() = default;
    virtual wchar_t DecimalSeparator() = 0;
};

}  // namespace glimra
