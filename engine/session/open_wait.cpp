#include "engine/session/open_wait.h"

#include "engine/session/key_script.h"

namespace lesson {

namespace {
// A tap's whole-page margin: a finger or a pen that lands just beside a
// choice still chooses it (the items of a sub-menu line stand a full-width
// blank apart, so no two margins overlap).
constexpr float kTapMargin = 8;
}  // namespace

void OpenWait::open(WaitKind kind, int lastItem) {
    kind_ = kind;
    lastItem_ = lastItem;
    choices_.clear();
}

void OpenWait::close() {
    kind_ = WaitKind::None;
    lastItem_ = 0;
    choices_.clear();
}

std::optional<std::string> OpenWait::typedForUser() {
    if (pending_.empty()) return std::nullopt;
    std::string key = std::move(pending_.front());
    pending_.pop_front();
    return key;
}

std::optional<std::string> OpenWait::meaning(std::string key, bool entryStarted) {
    if (const std::optional<Point> tap = tapPoint(key)) {
        if (kind_ == WaitKind::MainMenu || kind_ == WaitKind::SubMenu) {
            // The choice it lands on, or nothing.
            for (const TapArea& a : choices_) {
                if (tap->x >= a.x0 - kTapMargin && tap->x < a.x1 + kTapMargin && tap->y >= a.y0 - kTapMargin &&
                    tap->y < a.y1 + kTapMargin) {
                    typeEntry(std::to_string(a.choice), entryStarted);
                    break;
                }
            }
            return std::nullopt;
        }
        if (kind_ == WaitKind::Gate) return std::nullopt;  // the password is typed
        key = std::string(kForwardKey);  // built apart: GCC 12 warns wrongly on a literal assigned in place
    }
    if (key == kForwardKey || key == " ") {
        if (kind_ == WaitKind::Step) {
            typeEntry("1", entryStarted);  // the next step
            return std::nullopt;
        }
        // A menu needs its number.
        if (kind_ != WaitKind::AnyKey && kind_ != WaitKind::None) return std::nullopt;
    }
    return key;
}

// An entry typed for the user: a partly typed entry is dropped first, then
// the entry and Enter.
void OpenWait::typeEntry(const std::string& entry, bool entryStarted) {
    if (entryStarted) pending_.emplace_back("\b");
    for (char c : entry) pending_.emplace_back(1, c);
    pending_.emplace_back("\r");
}

}  // namespace lesson
