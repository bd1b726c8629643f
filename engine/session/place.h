#pragma once
// The place a program stands at, kept where the host keeps things so that the
// next opening within the hour stands there again (after a crash, a kill, a
// reload, a discarded tab): the bytes it is written in and read back from,
// and the store a host gives for them.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lesson {

// A place that cannot be read as written: cut short, garbled, of another
// build or a newer format.
struct PlaceUnreadable : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Bytes in a fixed order: unsigned numbers as base-128 varints, floats by
// their bits, strings by their length then their bytes.
class ByteWriter {
public:
    void number(std::uint64_t n);
    void signedNumber(std::int64_t n) { number((static_cast<std::uint64_t>(n) << 1) ^ static_cast<std::uint64_t>(n >> 63)); }
    void real(float f);
    void flag(bool b) { bytes_.push_back(b ? '\1' : '\0'); }
    void text(std::string_view s);
    const std::string& bytes() const { return bytes_; }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

// Reads what a ByteWriter wrote; throws PlaceUnreadable past the end or on a
// number too large for what it stands for.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t number();
    // A count or an index of something the reader is about to read: no more
    // than `most` (a garbled count never makes a huge allocation).
    std::size_t count(std::size_t most);
    std::int64_t signedNumber() {
        const std::uint64_t n = number();
        return static_cast<std::int64_t>(n >> 1) ^ -static_cast<std::int64_t>(n & 1);
    }
    int integer() { return static_cast<int>(signedNumber()); }
    float real();
    bool flag();
    std::string text();
    bool atEnd() const { return at_ == bytes_.size(); }
    std::size_t left() const { return bytes_.size() - at_; }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

// The bytes with their check appended, and back: what a power cut or a
// stray write garbled fails its check.
std::uint64_t checkOf(std::string_view bytes);
std::string sealed(std::string bytes);
std::string_view unsealed(std::string_view bytes);  // throws PlaceUnreadable

// Where a host keeps the place: named items (a file each in a state folder,
// an item each in the browser's storage), each written whole or not at all.
class PlaceStore {
public:
    virtual ~PlaceStore() = default;
    virtual std::optional<std::string> read(const std::string& name) = 0;
    // Why the item could not be written (a full disk, a refused storage), or
    // nothing: the place is not kept from then on.
    virtual std::optional<std::string> write(const std::string& name, std::string_view bytes) = 0;
    virtual void remove(const std::string& name) = 0;
    // Every item of the place gone: the place is forgotten.
    virtual void clear() = 0;
    // A place that could not be read is put out of the way, not used.
    virtual void setAside() = 0;
    // Says once, in a line where the host says such things, that the place
    // is not kept (and why).
    virtual void tell(const std::string& line) = 0;
};

// What the place is written by: the program's version and the build's own
// mark (a place of another build is set aside).
std::string_view placeBuild();

}  // namespace lesson
