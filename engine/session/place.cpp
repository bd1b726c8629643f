#include "engine/session/place.h"

#include "lesson_build_id.h"

#include <cstring>

namespace lesson {

void ByteWriter::number(std::uint64_t n) {
    while (n >= 0x80) {
        bytes_.push_back(static_cast<char>(0x80 | (n & 0x7f)));
        n >>= 7;
    }
    bytes_.push_back(static_cast<char>(n));
}

void ByteWriter::real(float f) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>(bits >> (8 * i)));
}

void ByteWriter::text(std::string_view s) {
    number(s.size());
    bytes_.append(s);
}

std::uint64_t ByteReader::number() {
    std::uint64_t n = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (at_ >= bytes_.size()) throw PlaceUnreadable("cut short");
        const auto b = static_cast<unsigned char>(bytes_[at_++]);
        n |= static_cast<std::uint64_t>(b & 0x7f) << shift;
        if ((b & 0x80) == 0) return n;
    }
    throw PlaceUnreadable("a number too long");
}

std::size_t ByteReader::count(std::size_t most) {
    const std::uint64_t n = number();
    if (n > most) throw PlaceUnreadable("a count too large");
    return static_cast<std::size_t>(n);
}

float ByteReader::real() {
    if (left() < 4) throw PlaceUnreadable("cut short");
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[at_++])) << (8 * i);
    float f = 0;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

bool ByteReader::flag() {
    if (left() < 1) throw PlaceUnreadable("cut short");
    const char b = bytes_[at_++];
    if (b != '\0' && b != '\1') throw PlaceUnreadable("not a flag");
    return b == '\1';
}

std::string ByteReader::text() {
    const std::size_t n = count(left());
    std::string s(bytes_.substr(at_, n));
    at_ += n;
    return s;
}

// FNV-1a over the bytes, 64 bits.
std::uint64_t checkOf(std::string_view bytes) {
    std::uint64_t h = 14695981039346656037ull;
    for (char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

namespace {
constexpr std::size_t kCheckBytes = 8;
}  // namespace

std::string sealed(std::string bytes) {
    const std::uint64_t check = checkOf(bytes);
    for (std::size_t i = 0; i < kCheckBytes; ++i) bytes.push_back(static_cast<char>(check >> (8 * i)));
    return bytes;
}

std::string_view unsealed(std::string_view bytes) {
    if (bytes.size() < kCheckBytes) throw PlaceUnreadable("cut short");
    const std::string_view body = bytes.substr(0, bytes.size() - kCheckBytes);
    std::uint64_t check = 0;
    for (std::size_t i = 0; i < kCheckBytes; ++i)
        check |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[body.size() + i])) << (8 * i);
    if (check != checkOf(body)) throw PlaceUnreadable("garbled");
    return body;
}

std::string_view placeBuild() { return LESSON_VERSION " " LESSON_BUILD_ID; }

}  // namespace lesson
