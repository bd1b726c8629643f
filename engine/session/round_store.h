#pragma once
// The rounds of the loops kept to go on from: a step back runs the program
// again off the screen from its start, and each loop on the way (the main
// menu, a section's sub-menu, a practice page's problems) goes on from its
// latest round kept before the wait gone back to, so a back costs a page or
// a problem at most, however long the class has stayed in a section or on a
// drill. The rounds thin out as they age, so that their count grows only
// with the logarithm of the hours run.

#include "engine/session/waits.h"

#include <any>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lesson {

// One round kept: where the run stood at its top, and what the loop kept.
struct KeptRound {
    WaitKind kind;         // of the loop's wait
    std::size_t scope;     // the loop
    std::size_t wait;      // the waits begun before the round: the next wait's index in the journal
    std::size_t keys;      // of the last wait's keys, read before the round
    std::uint64_t number;  // of the rounds kept of its kind, from 1
    std::size_t seedCalls;
    std::any kept;         // empty for a round read from the place until it is gone on from
    std::uint64_t item = 0;   // its item in the place, 0 for none
    std::uint64_t check = 0;  // of that item's bytes
    std::string bytes;     // read from the place, until turned back into `kept`
};

class RoundStore {
public:
    // Of each kind of loop the newest kRecentRounds are all kept; an older
    // round stays while it is younger (in rounds kept since) than
    // kRecentRounds times two to the power of the trailing zeros of its
    // number.
    static constexpr std::size_t kRecentRounds = 24;
    // The kinds of loop counted apart: the main menu, a sub-menu, the rest.
    static constexpr std::size_t kKinds = 3;
    static std::size_t kindIndex(WaitKind kind);

    // A round kept at the top of a loop in a run, at wait `wait`: the rounds
    // kept after that wait are undone, this one is numbered among its kind
    // and the older ones of its kind thin out. Returns the round (valid
    // until the store next changes).
    KeptRound& keep(WaitKind kind, std::size_t scope, std::size_t wait, std::size_t keys, std::size_t seedCalls,
                    std::any kept);
    // The latest round of the loop `scope` (waiting at `kind`) kept at or
    // before the wait `target`, or nothing.
    KeptRound* latest(WaitKind kind, std::size_t scope, std::size_t target);
    // The rounds kept after the wait `wait` are no more to be gone back to.
    void dropAfter(std::size_t wait);

    // In the order kept.
    const std::vector<KeptRound>& rounds() const { return rounds_; }
    // How many rounds of each kind were kept so far (thinned ones counted).
    const std::uint64_t* keptOfKind() const { return keptOfKind_; }
    // As read back from the place.
    void restore(std::vector<KeptRound> rounds, const std::uint64_t (&keptOfKind)[kKinds]);
    void clear();

private:
    std::vector<KeptRound> rounds_;
    std::uint64_t keptOfKind_[kKinds] = {};
};

}  // namespace lesson
