#pragma once
// The keys that type no text yet mean something to a lesson, by the names
// browsers give them (KeyboardEvent.key). The window names its keys the same
// way, so that both hosts read a key by this one table.

#include <span>
#include <string_view>

namespace lesson {

// The keys of a presenter remote. Back (PageUp, the Left or Up arrow; \< in
// a key script) puts the page back as it stood at the previous wait; forward
// (PageDown, the Right or Down arrow, Space; \>) goes on: as any key at an any-key
// wait, as "1" and Enter at a step prompt, and does nothing at a menu.
inline constexpr const char* kBackKey = "\x02";
inline constexpr const char* kForwardKey = "\x03";
// A key that ends an any-key wait and means nothing else.
inline constexpr const char* kPlainKey = "\x01";
// The keypad's 5 without NumLock: a key of its own (the keypad's other keys
// without NumLock are plain keys).
inline constexpr const char* kKeypadFiveKey = "\x0c";

struct NamedKey {
    std::string_view name;  // as a browser names it
    std::string_view key;   // what the lesson reads
};

std::span<const NamedKey> namedKeys();
// What the key of this name types; "" for a key that means nothing here
// (a modifier alone, or a key whose text arrives as text).
std::string_view keyNamed(std::string_view name);

}  // namespace lesson
