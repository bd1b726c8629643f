#pragma once
// Characters of lesson texts. Texts are held as UTF-8; a character's class is
// that of code page 932: ASCII and the half-width katakana U+FF61..U+FF9F are
// single-byte characters, every other character is double-byte. A byte that
// does not start a valid UTF-8 sequence counts as one single-byte character.

#include <string>
#include <string_view>
#include <vector>

namespace lesson {

// Length in bytes of the character that starts at pos (at least 1).
std::size_t charLength(std::string_view s, std::size_t pos);

// The text cut into its characters.
std::vector<std::string_view> splitChars(std::string_view s);

// Number of characters (a double-byte character is one character).
int charCount(std::string_view s);

// Code point of one character; U+FFFD for an invalid byte.
char32_t codePoint(std::string_view ch);
// One character as UTF-8 into out (room for four bytes and the end).
void encodeUtf8(char32_t cp, char* out);

// True for a single-byte character of code page 932.
bool isSingleByte(std::string_view ch);

// Characters [first, first+count) of s, counted as characters.
std::string charSlice(std::string_view s, int first, int count = 1 << 30);

// Character position (0-based) of the first occurrence of needle at or after
// character position from; -1 when there is none.
int charFind(std::string_view s, std::string_view needle, int from = 0);

}  // namespace lesson
