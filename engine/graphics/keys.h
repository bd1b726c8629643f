#pragma once
// The keys that type no text yet mean something to a lesson, by the names
// browsers give them (KeyboardEvent.key). The window names its keys the same
// way, so that both hosts read a key by this one table.

#include "engine/session/key_script.h"

#include <span>
#include <string_view>

namespace lesson {

struct NamedKey {
    std::string_view name;  // as a browser names it
    std::string_view key;   // what the lesson reads
};

std::span<const NamedKey> namedKeys();
// What the key of this name types; "" for a key that means nothing here
// (a modifier alone, or a key whose text arrives as text).
std::string_view keyNamed(std::string_view name);

}  // namespace lesson
