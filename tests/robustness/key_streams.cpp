#include "tests/robustness/key_streams.h"

#include "engine/chars/chars.h"
#include "engine/text/text.h"

#include <algorithm>

namespace robustness {

namespace {

const std::string kEnter = "\r";
const std::string kBackspace = "\b";

// Keys that are not Enter, as a keyboard in a classroom gives them: the entry
// characters, Backspace and code 12, letters, blank and punctuation, control
// keys, and characters typed through an input method.
const std::vector<std::string>& noiseKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k;
        for (char c = '0'; c <= '9'; ++c) k.emplace_back(1, c);
        for (const char* s : {"-", ".", "/", "\b", "\x0c"}) k.emplace_back(s);
        for (char c = 'a'; c <= 'z'; ++c) k.emplace_back(1, c);
        for (const char* s : {"A", "K", "X", "Z"}) k.emplace_back(s);
        for (const char* s : {" ", "+", "*", "=", "^", "!", "#", "%", "&", "@", "(", ")", ",", ":", "\\", "'", "\""})
            k.emplace_back(s);
        for (const char* s : {"\x1b", "\t", "\x7f", "\x01", "\x1c", "\x1d", "\x1e", "\x1f"}) k.emplace_back(s);
        for (const char* s : {"ﾀ", "ﾝ", "あ", "×", "＃", "①", "ｱ"}) k.emplace_back(s);
        return k;
    }();
    return keys;
}

// Entries worth trying at every prompt: ranges, fractions, broken numbers,
// and ten characters (which the field clears instead of taking).
const std::vector<std::string>& oddEntries() {
    static const std::vector<std::string> entries = {
        "",     "0",   "00",   "-1",  "-0",    "2.5",  ".5",  "1.0",       "3/1", "6/3", "1/0",  "/",   "/0",
        "-",    ".",   "..",   "--",  "-/-",   "1/",   "/2",  "99",        "11",  "12",  "100",  "7",   "0.1/0.1",
        "1/3",  "-6/-3", "4/2", "2/4", ".../", "5//2", "1-1", "0/0",       "-.",  "10",  "16/2", "8",   "9",
        "1234567890",
    };
    return entries;
}

}  // namespace

KeyStream::KeyStream(unsigned seed, std::size_t keys, StreamPlan plan)
    : rng_(seed), total_(keys), plan_(std::move(plan)), order_(plan_.sections) {
    int highest = plan_.quitNumber;
    for (const SectionTarget& s : plan_.sections) highest = std::max(highest, s.number);
    visits_.assign(static_cast<std::size_t>(highest) + 1, 0);
}

int KeyStream::below(int n) { return std::uniform_int_distribution<int>(0, std::max(0, n - 1))(rng_); }
int KeyStream::between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, std::max(lo, hi))(rng_); }
bool KeyStream::chance(int percent) { return below(100) < percent; }

const SectionTarget* KeyStream::target(int section) const {
    for (const SectionTarget& s : plan_.sections)
        if (s.number == section) return &s;
    return nullptr;
}

std::string KeyStream::next(int section) {
    if (typed_ >= total_) return "";
    if (section != lastSection_) {
        // The program moved: what was meant for the old place is dropped.
        pending_.clear();
        lastSection_ = section;
        if (section != 0) {
            visitBudget_ = between(40, 800);
            if (static_cast<std::size_t>(section) < visits_.size()) ++visits_[static_cast<std::size_t>(section)];
        }
    }
    if (pending_.empty()) refill(section);
    std::string key = std::move(pending_.front());
    pending_.pop_front();
    ++typed_;
    if (section != 0) --visitBudget_;
    return key;
}

void KeyStream::refill(int section) {
    if (!passwordGiven_) {
        password();
        return;
    }
    if (section == 0) {
        menuChoice();
        return;
    }
    const SectionTarget* s = target(section);
    const SectionTarget unknown{section, 12};
    if (visitBudget_ > 0) bodyAction(s ? *s : unknown);
    else leaveRound(s ? *s : unknown);
}

void KeyStream::enter(const std::string& typed) {
    pending_.push_back(kBackspace);
    for (std::string_view ch : lesson::splitChars(typed)) pending_.emplace_back(ch);
    pending_.push_back(kEnter);
}

// Every stream starts with the password.
void KeyStream::password() {
    passwordGiven_ = true;
    for (const char* k : {"5", "9", "2", "6"}) pending_.emplace_back(k);
    pending_.push_back(kEnter);
}

// At the main menu: the next section in a shuffled round, sometimes after
// stray letters and an odd entry (a fraction, a number out of range, ten
// characters), but never anything worth the quit item.
void KeyStream::menuChoice() {
    if (chance(10)) {
        const std::string& odd = oddEntries()[static_cast<std::size_t>(below(static_cast<int>(oddEntries().size())))];
        const bool cleared = odd.size() >= 10;  // the field clears instead of taking it
        if (cleared || entryValueOf(odd) != static_cast<float>(plan_.quitNumber)) {
            for (int i = below(3); i > 0; --i) pending_.emplace_back(1, static_cast<char>('a' + below(26)));
            enter(odd);
            return;
        }
    }
    if (order_.empty()) {
        enter("0");  // no section exists yet: the menu alone takes the keys
        return;
    }
    if (nextTarget_ % order_.size() == 0) std::shuffle(order_.begin(), order_.end(), rng_);
    const SectionTarget& s = order_[nextTarget_++ % order_.size()];
    enter(std::to_string(s.number));
}

void KeyStream::noise(int count) {
    const auto& keys = noiseKeys();
    for (int i = 0; i < count; ++i) pending_.push_back(keys[static_cast<std::size_t>(below(static_cast<int>(keys.size())))]);
}

// One key held down: the keyboard repeats it many times.
void KeyStream::held() {
    const int n = between(20, 400);
    const bool enterHeld = chance(15);
    const auto& keys = noiseKeys();
    const std::string key = enterHeld ? kEnter : keys[static_cast<std::size_t>(below(static_cast<int>(keys.size())))];
    pending_.insert(pending_.end(), static_cast<std::size_t>(n), key);
}

// Inside a section: pages from its sub-menu (every item, the last one too),
// answers at step prompts, any-key steps, stray and held keys.
void KeyStream::bodyAction(const SectionTarget& s) {
    switch (below(10)) {
        case 0: case 1: enter(std::to_string(between(1, s.lastItem - 1))); break;
        case 2: enter("1"); break;
        case 3: enter("2"); break;
        case 4: case 5: pending_.insert(pending_.end(), static_cast<std::size_t>(between(1, 25)), "k"); break;
        case 6: noise(between(1, 30)); break;
        case 7: held(); break;
        case 8: enter(oddEntries()[static_cast<std::size_t>(below(static_cast<int>(oddEntries().size())))]); break;
        default: enter(std::to_string(between(0, s.lastItem + 2))); break;
    }
}

// Back towards the main menu: any keys first, enough to pass the rows of a
// drill's problem (a step prompt ignores the rest), so that the 1 which ends
// the drill meets its step prompt and no row wait takes it; then any keys to
// finish the page, and the last item to leave the sub-menu. Repeated until
// the section has returned.
void KeyStream::leaveRound(const SectionTarget& s) {
    pending_.insert(pending_.end(), static_cast<std::size_t>(between(12, 40)), "k");
    enter("1");
    pending_.insert(pending_.end(), static_cast<std::size_t>(between(20, 80)), "k");
    enter(std::to_string(s.lastItem));
}

bool EntryField::feed(const std::string& key) {
    if (key == "\b" || key == "\x0c" || text_.size() >= 10) {
        text_.clear();
        return false;
    }
    if (key == "\r") return true;
    if (isEntryKey(key)) text_ += key;
    return false;
}

float EntryField::value() const { return entryValueOf(text_); }

bool isEntryKey(std::string_view key) { return key.size() == 1 && key[0] >= '-' && key[0] <= '9'; }

float entryValueOf(std::string_view typed) {
    const int slash = lesson::charFind(typed, "/");
    if (slash < 0) return lesson::textToNumber(typed);
    const float numerator = lesson::textToNumber(lesson::charSlice(typed, 0, slash));
    const float denominator = lesson::textToNumber(lesson::charSlice(typed, slash + 1));
    return denominator == 0 ? 0 : numerator / denominator;
}

}  // namespace robustness
