// The session's rounds kept and how they thin, and the replay's check of the
// page it reaches at each wait.

#include "engine/frame/frame.h"
#include "engine/prompts/prompts.h"
#include "engine/session/round_store.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <set>
#include <string>

using namespace lesson;

namespace {

std::set<std::uint64_t> numbersKept(const RoundStore& store, WaitKind kind) {
    std::set<std::uint64_t> numbers;
    for (const KeptRound& r : store.rounds())
        if (r.kind == kind) numbers.insert(r.number);
    return numbers;
}

}  // namespace

// A day's run: the main menu drawn once, a section's sub-menu, and in it a
// practice page after another, each a drill of many problems (a wait each).
// Whatever the number of rounds, the open loops' latest rounds are there,
// the newest rounds all, none comes back once thinned, the older ones stand
// closer than a twelfth of their age apart, and their count grows with the
// logarithm of the rounds.
TEST(RoundStore, ThinsOutByAgeAndKeepsTheLatestRoundOfEachOpenLoop) {
    RoundStore store;
    std::size_t wait = 1;  // past the gate
    store.keep(WaitKind::MainMenu, 1, wait, 1, 1, 0);
    ++wait;
    const std::size_t subMenuScope = wait;
    std::set<std::uint64_t> before;
    std::uint64_t drillRounds = 0;
    for (int page = 0; page < 6; ++page) {
        store.keep(WaitKind::SubMenu, subMenuScope, wait, 2, 1, page);
        ++wait;
        const std::size_t drillScope = wait;
        const int problems = page == 5 ? 60000 : 3000;
        for (int problem = 0; problem < problems; ++problem) {
            store.keep(WaitKind::Step, drillScope, wait, 2, 1, problem);
            ++drillRounds;
            ++wait;
            const std::set<std::uint64_t> kept = numbersKept(store, WaitKind::Step);
            // The loops open now: each one's latest round is there, the
            // drill's with what it kept last.
            const KeptRound* drill = store.latest(WaitKind::Step, drillScope, wait);
            ASSERT_NE(drill, nullptr);
            ASSERT_EQ(drill->number, drillRounds);
            ASSERT_EQ(std::any_cast<int>(drill->kept), problem);
            const KeptRound* subMenu = store.latest(WaitKind::SubMenu, subMenuScope, wait);
            ASSERT_NE(subMenu, nullptr);
            ASSERT_EQ(std::any_cast<int>(subMenu->kept), page);
            ASSERT_NE(store.latest(WaitKind::MainMenu, 1, wait), nullptr);
            // The newest rounds are all kept; none thinned comes back.
            const std::uint64_t recent = std::min<std::uint64_t>(drillRounds, RoundStore::kRecentRounds);
            ASSERT_EQ(std::count_if(kept.begin(), kept.end(), [&](std::uint64_t n) { return n + recent > drillRounds; }),
                      static_cast<long>(recent));
            for (std::uint64_t n : kept) ASSERT_TRUE(n == drillRounds || before.count(n)) << "round " << n;
            before = kept;
            if (drillRounds % 997 != 0) continue;
            // The older ones thin out by halves, back to the first drill: never
            // further apart than a twelfth of their age, and a few dozen for
            // each doubling.
            std::uint64_t older = 0;  // the drills' start
            for (std::uint64_t n : kept) {
                EXPECT_LE(n - older, std::max<std::uint64_t>(1, (drillRounds - older) / 12)) << "after round " << older;
                older = n;
            }
            EXPECT_LE(kept.size(), RoundStore::kRecentRounds * (std::bit_width(drillRounds) + 1));
        }
    }
    EXPECT_EQ(drillRounds, 75000u);
    EXPECT_LT(numbersKept(store, WaitKind::Step).size(), 24u * 16);
    // The rounds of the other kinds are not thinned by the drills'.
    EXPECT_EQ(numbersKept(store, WaitKind::MainMenu).size(), 1u);
    EXPECT_EQ(numbersKept(store, WaitKind::SubMenu).size(), 6u);

    // A back to a wait drops the rounds kept after it, and the loop then goes
    // on from its latest round kept at or before that wait.
    const std::size_t target = wait - 10;
    store.dropAfter(target);
    for (const KeptRound& r : store.rounds()) EXPECT_LE(r.wait, target);
    const KeptRound* from = store.latest(WaitKind::Step, store.rounds().back().scope, target);
    ASSERT_NE(from, nullptr);
    EXPECT_EQ(from->wait, target);
}

namespace {

// A drill that numbers its problems in a count of its own, handed to its
// round or not.
void countingDrill(Engine& e, bool handsItsCount) {
    const Round round = roundOf(e, WaitKind::Step);
    int shown = 0;
    e.entryValue = 3;
    while (e.entryValue != 1) {
        if (handsItsCount) beginRound(e, round, shown);
        else beginRound(e, round);
        ++shown;
        whiteBox(e, 40, 90, 600, 100);
        e.layer.text(40, 120, "問題" + std::to_string(shown), 1, 1, 0);
        stepPrompt(e);
    }
}

ProgramSpec drillProgram(bool handsItsCount) {
    ProgramSpec app{"drill", "ドリル", {}};
    app.menu.push_back({"１　ドリル", 200, 150, 0, [handsItsCount](Engine& e) { countingDrill(e, handsItsCount); }});
    app.menu.push_back({"２　終了", 200, 250, 0, {}});
    return app;
}

// Four problems, then a back to the third.
constexpr const char* kDrillKeys = "5926\n1\n2\n2\n2\n\\<";

}  // namespace

// A replay goes on from the drill's latest round kept: a drill that hands
// its count to the round stands at the third problem again; one that keeps
// the count to itself would stand at "問題1", and the replay stops there,
// naming the wait.
TEST(ReplayCheck, ALoopThatKeepsStateOfItsOwnFailsAtTheWaitItReaches) {
    const testing_support::RunResult sound = testing_support::runHeadless(drillProgram(true), kDrillKeys);
    const auto waits = sound.indicesWhere([](const testing_support::Event& ev) { return ev.op() == "wait"; });
    ASSERT_GE(waits.size(), 6u);
    EXPECT_TRUE(testing_support::isWait(sound.events[static_cast<std::size_t>(waits.back())], "step"));
    const auto third = sound.indicesWhere([](const testing_support::Event& ev) {
        return ev.op() == "text" && ev.str("text") == "問題3";
    });
    EXPECT_EQ(third.size(), 1u);  // drawn once: the replay stays off the trace

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(testing_support::runHeadless(drillProgram(false), kDrillKeys),
                 "replay check: wait [0-9]+ \\(step\\) reached with another page");
}
