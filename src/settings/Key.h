#pragma once
// A settings key with the type it is stored as and the value a read yields when the file lacks it.
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvel::settings {

template <class T> struct Key {
    std::string_view name;
    T absent;
};

using IntegerKey = Key<std::int32_t>;
using RealKey = Key<double>;
using TextKey = Key<std::string_view>;

// Numbered keys such as "freq1" … "freq18": the prefix followed by the number in decimal.
template <class T> struct KeyFamily {
    std::string_view prefix;
    int first;
    int last;
    T absent;

    std::string name(int number) const { return std::string(prefix) + std::to_string(number); }
};

using IntegerKeyFamily = KeyFamily<std::int32_t>;
using TextKeyFamily = KeyFamily<std::string_view>;

} // namespace tarvel::settings
