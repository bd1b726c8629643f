#include "engine/session/round_store.h"

#include <algorithm>
#include <bit>
#include <iterator>

namespace lesson {

std::size_t RoundStore::kindIndex(WaitKind kind) {
    return kind == WaitKind::MainMenu ? 0 : kind == WaitKind::SubMenu ? 1 : 2;
}

KeptRound& RoundStore::keep(WaitKind kind, std::size_t scope, std::size_t wait, std::size_t keys,
                            std::size_t seedCalls, std::any kept) {
    std::erase_if(rounds_, [&](const KeptRound& c) { return c.wait > wait; });
    const std::size_t k = kindIndex(kind);
    const std::uint64_t number = ++keptOfKind_[k];
    rounds_.push_back({kind, scope, wait, keys, number, seedCalls, std::move(kept), 0, 0, {}});
    // Older rounds of the same kind thin out: the one just kept is the
    // newest, never thinned, and stays the last.
    std::erase_if(rounds_, [&](const KeptRound& c) {
        if (kindIndex(c.kind) != k) return false;
        const std::uint64_t age = number - c.number;
        const int halvings = std::min(std::countr_zero(c.number), 40);
        return age >= kRecentRounds && age >= (std::uint64_t{kRecentRounds} << halvings);
    });
    return rounds_.back();
}

KeptRound* RoundStore::latest(WaitKind kind, std::size_t scope, std::size_t target) {
    const auto from = std::find_if(rounds_.rbegin(), rounds_.rend(), [&](const KeptRound& c) {
        return c.kind == kind && c.scope == scope && c.wait <= target;
    });
    return from == rounds_.rend() ? nullptr : &*from;
}

void RoundStore::dropAfter(std::size_t wait) {
    std::erase_if(rounds_, [&](const KeptRound& c) { return c.wait > wait; });
}

void RoundStore::restore(std::vector<KeptRound> rounds, const std::uint64_t (&keptOfKind)[kKinds]) {
    rounds_ = std::move(rounds);
    std::copy(std::begin(keptOfKind), std::end(keptOfKind), std::begin(keptOfKind_));
}

void RoundStore::clear() {
    rounds_.clear();
    std::fill(std::begin(keptOfKind_), std::end(keptOfKind_), 0);
}

}  // namespace lesson
