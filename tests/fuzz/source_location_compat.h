#pragma once
// Included first into every unit of the fuzzer tree. That tree is built with
// clang 14, whose libstdc++ 12 offers no std::source_location (libstdc++
// builds it on a builtin that clang has only from version 15 on). The engine
// uses it for the line of a run-time error; here it is made from the
// builtins that clang 14 does have.

#include <version>

#if defined(__clang__) && !defined(__cpp_lib_source_location)
#include <cstdint>

namespace std {

struct source_location {
    static constexpr source_location current(std::uint_least32_t line = __builtin_LINE(),
                                             std::uint_least32_t column = __builtin_COLUMN(),
                                             const char* file = __builtin_FILE(),
                                             const char* function = __builtin_FUNCTION()) noexcept {
        source_location s;
        s.line_ = line;
        s.column_ = column;
        s.file_ = file;
        s.function_ = function;
        return s;
    }
    constexpr source_location() noexcept = default;
    constexpr std::uint_least32_t line() const noexcept { return line_; }
    constexpr std::uint_least32_t column() const noexcept { return column_; }
    constexpr const char* file_name() const noexcept { return file_; }
    constexpr const char* function_name() const noexcept { return function_; }

private:
    std::uint_least32_t line_ = 0;
    std::uint_least32_t column_ = 0;
    const char* file_ = "";
    const char* function_ = "";
};

}  // namespace std
#endif
