#pragma once
// The keys the lessons read beside the typed characters, the taps that travel
// with them, and the key scripts that type them for a headless run, a test or
// a page's script.

#include "engine/session/point.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
// The first character of a tap key; its position follows as "X,Y".
inline constexpr char kTapMark = '\x04';

// How a host reads a press, in page units: a pointer that moves less than
// kTapSlopUnits between going down and up taps where it went down; one that
// moves at least kSwipeUnits across, more than twice as far as up or down,
// swipes: to the right goes back, to the left goes on, as a presenter's slides do.
inline constexpr float kTapSlopUnits = 24;
inline constexpr float kSwipeUnits = 160;

// A tap (a click, a touch) at a page position in logical units travels with
// the keys as one key of its own: what it means is resolved at the wait that
// reads it. On a choice offered there (a main-menu row, an item of a
// sub-menu line) it is that choice's number and Enter; elsewhere at a step
// prompt or an any-key wait it goes on, as forward; elsewhere at a menu, and
// at the password gate, it is nothing.
std::string tapKey(float x, float y);
// The position of a tap key, or nothing for any other key.
std::optional<Point> tapPoint(std::string_view key);

// The teacher's pen on the page travels with the keys too, one key for each
// stroke, erasure, undo or clear: the ink mark, then the pen's letter ('r'
// red, 'b' blue, 'k' black, 'm' the marker, 'e' the eraser's path) and its
// points "X,Y X,Y ..." in page units, or 'u' (undo the page's last stroke or
// erasure) or 'c' (clear the page's ink) alone. It is read at any wait and
// never ends one: a lesson never sees it.
inline constexpr char kInkMark = '\x05';
inline constexpr std::string_view kInkPenLetters = "rbkme";
inline constexpr char kInkUndo = 'u';
inline constexpr char kInkClear = 'c';

struct InkAction {
    char pen = 'r';             // a pen's letter, kInkUndo or kInkClear
    std::vector<Point> points;  // a pen's path; none for undo and clear
    bool stroke() const { return !points.empty(); }
};

// The key of an ink action (points with nine significant digits, read back
// as the same floats); inkOf reads it back, or gives nothing for a key that
// is no well-formed ink key.
std::string inkKey(const InkAction& action);
std::optional<InkAction> inkOf(std::string_view key);

// Scripted keys: each character is one key; backslash-n, backslash-r or a
// newline is Enter, backslash-b Backspace, two backslashes one backslash,
// backslash-< back and backslash-> forward (PageUp and PageDown),
// backslash-@X,Y; a tap at the page position (X, Y), and backslash-~P:X,Y X,Y
// ...; a stroke of pen P (r, b, k, m; e for the eraser), backslash-~u; undo
// and backslash-~c; clear of the page's ink. A malformed ink item is left
// out; the first one is put into `malformed` when it is given.
std::vector<std::string> parseKeyScript(std::string_view script, std::string* malformed = nullptr);

}  // namespace lesson
