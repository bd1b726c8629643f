#include "engine/graphics/keys.h"

#include <array>

namespace lesson {

namespace {

constexpr std::array<NamedKey, 25> kNamedKeys = {{
    {"Enter", "\r"},
    {"Backspace", "\b"},
    {"Escape", "\x1b"},
    {"Tab", "\t"},
    {"Delete", "\x7f"},
    // A presenter remote sends one of these for "next", one for "previous".
    {"ArrowRight", kForwardKey}, {"ArrowDown", kForwardKey}, {"PageDown", kForwardKey},
    {"ArrowLeft", kBackKey}, {"ArrowUp", kBackKey}, {"PageUp", kBackKey},
    {"Home", kPlainKey}, {"End", kPlainKey}, {"Insert", kPlainKey},
    {"F1", kPlainKey}, {"F2", kPlainKey}, {"F3", kPlainKey}, {"F4", kPlainKey}, {"F5", kPlainKey},
    {"F6", kPlainKey}, {"F7", kPlainKey}, {"F8", kPlainKey}, {"F9", kPlainKey}, {"F10", kPlainKey},
    {"F12", kPlainKey},  // F11 is full screen
}};

}  // namespace

std::span<const NamedKey> namedKeys() { return kNamedKeys; }

std::string_view keyNamed(std::string_view name) {
    for (const NamedKey& k : kNamedKeys)
        if (k.name == name) return k.key;
    return {};
}

}  // namespace lesson
