#pragma once
// Seeded random key streams for the lesson programs: a classroom's worth of
// stray keys, keys held down, menu and sub-menu numbers and step answers.
//
// The stream is typed key by key and told, for every key, in which section
// the program stands (0 at the password gate and the main menu). So it can
// steer: at the main menu it chooses the next section to visit and never the
// quit item; inside a section anything goes for a while, and then it works
// its way back out (1 for a drill, any keys for a page, the sub-menu's last
// item) until the section has returned. A run therefore always ends because
// its keys are used up, and every section is visited in turn.

#include <cstddef>
#include <deque>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace robustness {

// What a stream steers to: the quit number of the main menu and, for each
// section that exists, its number and the number of its sub-menu's last item.
struct SectionTarget {
    int number = 0;
    int lastItem = 0;
};

struct StreamPlan {
    int quitNumber = 0;
    std::vector<SectionTarget> sections;
};

class KeyStream {
public:
    KeyStream(unsigned seed, std::size_t keys, StreamPlan plan);

    // The next key, given the section the program stands in (0: gate or
    // main menu); "" once all keys are typed.
    std::string next(int section);

    std::size_t typed() const { return typed_; }
    // Visits begun, per section number.
    const std::vector<int>& visits() const { return visits_; }

private:
    void refill(int section);
    void password();
    void menuChoice();
    void bodyAction(const SectionTarget& s);
    void leaveRound(const SectionTarget& s);
    void enter(const std::string& typed);
    void noise(int count);
    void held();
    const SectionTarget* target(int section) const;

    int below(int n);
    int between(int lo, int hi);
    bool chance(int percent);

    std::mt19937 rng_;
    std::size_t total_;
    StreamPlan plan_;
    std::deque<std::string> pending_;
    std::vector<SectionTarget> order_;
    std::size_t nextTarget_ = 0;
    std::size_t typed_ = 0;
    int lastSection_ = 0;
    bool passwordGiven_ = false;
    long visitBudget_ = 0;
    std::vector<int> visits_;
};

// The entry field as keys fill it: Backspace or code 12 clears it, so does
// any key when ten characters stand; Enter ends it; other keys are ignored.
class EntryField {
public:
    // True when the key ended the entry.
    bool feed(const std::string& key);
    float value() const;
    const std::string& text() const { return text_; }
    void reset() { text_.clear(); }

private:
    std::string text_;
};

// The value the entry field gives for typed text ("3/4" is 0.75; a zero or
// empty denominator gives 0).
float entryValueOf(std::string_view typed);

// The keys that make up an entry ("-", ".", "/" and the digits).
bool isEntryKey(std::string_view key);

}  // namespace robustness
