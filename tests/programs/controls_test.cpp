// Classroom controls of both programs: one step back, forward from a remote,
// and the walk through a section.

#include "engine/frame/options.h"
#include "engine/graphics/trace.h"
#include "lessons_a/sections.h"
#include "lessons_b/sections.h"
#include "tests/support/harness.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <random>

using namespace lesson;
using testing_support::RunResult;

namespace {

using testing_support::pixelsOf;

RunResult shot(const ProgramSpec& program, const std::string& keys, unsigned seed) {
    return testing_support::runHeadless(program, keys, {seed, true});
}

bool samePage(const RunResult& a, const RunResult& b) {
    const auto pa = pixelsOf(a.screenshot);
    return !pa.empty() && pa == pixelsOf(b.screenshot);
}

std::vector<std::string> formulaTexts(const RunResult& r) {
    std::vector<std::string> out;
    for (const auto& f : r.formulas()) out.push_back(f.str("text"));
    return out;
}

// A long seeded walk: sections and pages at random, new problems and next
// steps at step prompts, a key at any-key waits; each wait's keys (as a key
// script) with the kind of wait they answered.
struct Walk {
    std::vector<WaitKind> kinds;
    std::vector<std::string> answers;
    std::string prefix(std::size_t i) const {
        std::string keys;
        for (std::size_t j = 0; j < i; ++j) keys += answers[j];
        return keys;
    }
};

// Where a walk may go: anywhere, or only inside one section (its sub-menu
// never given its last item), and there only on one drill page (new problems
// at every step prompt).
struct Stay {
    int section = 0;
    int page = 0;
};

Walk seededWalk(const ProgramSpec& program, unsigned seed, std::size_t waits, Stay stay = {}) {
    Walk walk;
    LayerOptions lo;
    lo.headless = true;
    lo.seed = seed;
    ProgramRun run(lo);
    Session& session = run.session();
    std::mt19937 rng(seed);
    auto upTo = [&](int n) { return std::to_string(std::uniform_int_distribution<int>(1, std::max(1, n))(rng)); };
    std::string queued;
    session.setMoreKeys([&]() -> std::string {
        if (queued.empty()) {
            if (walk.kinds.size() >= waits) return "";
            const WaitKind kind = session.waitKind();
            const int menuItems = static_cast<int>(program.menu.size()) - 1, pages = session.waitLastItem() - (stay.section != 0);
            queued = kind == WaitKind::Gate       ? "5926\r"
                     : kind == WaitKind::MainMenu ? (stay.section ? std::to_string(stay.section) : upTo(menuItems)) + "\r"
                     : kind == WaitKind::SubMenu  ? (stay.page ? std::to_string(stay.page) : upTo(pages)) + "\r"
                     : kind == WaitKind::Step     ? (stay.page ? "2" : upTo(2)) + "\r"
                                                  : "k";
            walk.kinds.push_back(kind);
            walk.answers.push_back(queued.back() == '\r' ? queued.substr(0, queued.size() - 1) + "\\n" : queued);
        }
        std::string key(1, queued.front());
        queued.erase(0, 1);
        return key;
    });
    Engine e(run);
    runFrame(e, program);
    return walk;
}

// `prefix` and then `there` (keys that go on and step back again to the end
// of the prefix) give the page of the prefix alone; and with `later` keys
// after both, the same page and the same formulas drawn after the prefix
// (the same random problems). Returns the run with `there`.
RunResult expectBackIsThePrefix(const ProgramSpec& program, unsigned seed, const std::string& prefix,
                                const std::string& there, const std::string& later) {
    const RunResult alone = shot(program, prefix, seed), back = shot(program, prefix + there, seed);
    EXPECT_TRUE(samePage(alone, back));
    if (later.empty()) return back;
    const RunResult on = shot(program, prefix + later, seed), backOn = shot(program, prefix + there + later, seed);
    EXPECT_TRUE(samePage(on, backOn));
    const auto a = formulaTexts(alone), o = formulaTexts(on), b = formulaTexts(back), bo = formulaTexts(backOn);
    EXPECT_EQ(std::vector(bo.begin() + static_cast<long>(std::min(b.size(), bo.size())), bo.end()),
              std::vector(o.begin() + static_cast<long>(std::min(a.size(), o.size())), o.end()));
    return back;
}

// After prefixes of the walk that end at a wait (step prompts of practice
// pages, any-key waits after animations, menus), one more step and a back
// give the page of the prefix alone, and going on draws what going on from
// the prefix draws.
void checkStepsBack(const ProgramSpec& program, unsigned seed) {
    const Walk walk = seededWalk(program, seed, 240);
    ASSERT_EQ(walk.kinds.size(), 240u);
    std::map<WaitKind, std::size_t> taken, wanted{
        {WaitKind::Step, 4}, {WaitKind::AnyKey, 8}, {WaitKind::SubMenu, 2}, {WaitKind::MainMenu, 2}};
    int checked = 0;
    for (std::size_t i = 2; i + 2 < walk.kinds.size(); ++i) {
        // Any-key waits are many: every seventh of them, spread over the walk.
        if ((walk.kinds[i] == WaitKind::AnyKey && i % 7 != 0) || taken[walk.kinds[i]] >= wanted[walk.kinds[i]]) continue;
        ++taken[walk.kinds[i]];
        SCOPED_TRACE("wait " + std::to_string(i));
        const std::string prefix = walk.prefix(i), step = walk.answers[i] + "\\<";
        const RunResult back = expectBackIsThePrefix(program, seed, prefix, step,
                                                     checked++ % 4 == 0 ? walk.answers[i] + walk.answers[i + 1] : "");
        // The replay reaches no sink: the keys seen are those typed, back included.
        EXPECT_EQ(back.keyCount(), shot(program, prefix, seed).keyCount() + static_cast<int>(parseKeyScript(step).size()));
    }
    for (const auto& [kind, count] : wanted) EXPECT_GE(taken[kind], count);
}

// Backs in a row across main-menu waits (where the program keeps its state
// to go back to), into earlier sections, and across more main menus than
// are kept at once: the page of the prefix alone, and going on draws what
// going on from the prefix draws.
void checkBacksAcrossMainMenus(const ProgramSpec& program, unsigned seed, std::size_t waits,
                               std::initializer_list<std::size_t> menusCrossed) {
    const Walk walk = seededWalk(program, seed, waits);
    std::vector<std::size_t> menus;
    for (std::size_t i = 1; i < walk.kinds.size(); ++i)
        if (walk.kinds[i] == WaitKind::MainMenu) menus.push_back(i);
    // From the third wait after the second main menu, back over that many menus.
    for (const std::size_t crossed : menusCrossed) {
        ASSERT_GT(menus.size(), crossed + 2);
        const std::size_t from = menus[1] + 3, to = menus[1 + crossed] + 2;
        SCOPED_TRACE("from wait " + std::to_string(to) + " back to wait " + std::to_string(from));
        std::string backs;
        for (std::size_t i = from; i < to; ++i) backs += "\\<";
        const std::string there = walk.prefix(to).substr(walk.prefix(from).size()) + backs;
        expectBackIsThePrefix(program, seed, walk.prefix(from), there, walk.answers[from] + walk.answers[from + 1]);
    }
}

}  // namespace

TEST(StepBack, OneStepAndBackIsThePrefixAloneSolvara) { checkStepsBack(solvara::program(), 7); }

TEST(StepBack, OneStepAndBackIsThePrefixAloneRatiora) { checkStepsBack(ratiora::program(), 9); }

// Down to the main menu as it was first drawn, never behind the gate; a
// partly typed choice is dropped, and going on is as if it never was.
TEST(StepBack, NothingToUndoAtTheFirstMainMenuNorAtTheGate) {
    const auto program = solvara::program();
    const RunResult menu = shot(program, "5926\\n", 3);
    for (const char* keys : {"5926\\n\\<", "59\\<26\\n", "\\<5926\\n", "5926\\n2\\n\\<\\<\\<", "5926\\n2\\n3\\<",
                             "5926\\n3\\<\\<\\<\\n", "5926\\n3\\<"})
        EXPECT_TRUE(samePage(shot(program, keys, 3), menu)) << keys;
    EXPECT_TRUE(samePage(shot(program, "5926\\n2\\n3\\<1\\n", 3), shot(program, "5926\\n1\\n", 3)));
    EXPECT_TRUE(samePage(shot(program, "5926\\n3\\<1\\n", 3), shot(program, "5926\\n1\\n", 3)));
}

TEST(StepBack, BacksInARowAcrossMainMenusAreThePrefixAlone) {
    checkBacksAcrossMainMenus(solvara::program(), 13, 1500, {3, 20});
    checkBacksAcrossMainMenus(ratiora::program(), 17, 500, {3});
}

// A class that stays in one section for the lesson, or drills one practice
// page for hundreds of problems, never passes a main menu: after such a
// walk, one back, and many backs in a row (past the rounds kept in full,
// into the thinned-out older ones), give the page of the prefix alone and go
// on with the same random problems.
TEST(StepBack, AfterHoursInOneSectionOrOnOneDrillABackIsThePrefixAlone) {
    struct Case {
        ProgramSpec program;
        unsigned seed;
        std::size_t waits;
        Stay stay;
    };
    for (const Case& c : {Case{solvara::program(), 21, 500, {2, 0}}, Case{solvara::program(), 22, 500, {2, 7}},
                          Case{ratiora::program(), 23, 400, {1, 0}}, Case{ratiora::program(), 24, 400, {1, 4}}}) {
        const Walk walk = seededWalk(c.program, c.seed, c.waits, c.stay);
        ASSERT_EQ(walk.kinds.size(), c.waits);
        EXPECT_EQ(std::count(walk.kinds.begin(), walk.kinds.end(), WaitKind::MainMenu), 1);
        for (const std::size_t backs : {1, 70}) {
            if (backs == 1 && c.stay.page == 0) continue;
            const std::size_t to = c.waits - 3, from = to + 1 - backs;
            SCOPED_TRACE(c.program.name + " from wait " + std::to_string(to) + " back to wait " + std::to_string(from));
            std::string there = walk.prefix(to + 1).substr(walk.prefix(from).size());
            for (std::size_t i = 0; i < backs; ++i) there += "\\<";
            expectBackIsThePrefix(c.program, c.seed, walk.prefix(from), there, walk.answers[from] + walk.answers[from + 1]);
        }
    }
}

// Forward (\> and Space): "1" and Enter at a step prompt, any key at an
// any-key wait, nothing at a menu.
TEST(Forward, NextStepAtAStepPromptAnyKeyElsewhereNothingAtMenus) {
    const auto program = solvara::program();
    const Walk walk = seededWalk(program, 5, 200);
    std::map<WaitKind, int> seen;
    for (std::size_t i = 1; i < walk.kinds.size(); ++i) {
        const WaitKind kind = walk.kinds[i];
        if (seen[kind]++ >= 2) continue;
        const std::string prefix = walk.prefix(i);
        SCOPED_TRACE("wait " + std::to_string(i));
        if (kind == WaitKind::Step) {
            const RunResult one = shot(program, prefix + "1\\n", 5);
            EXPECT_TRUE(samePage(shot(program, prefix + "\\>", 5), one));
            EXPECT_EQ(formulaTexts(shot(program, prefix + " ", 5)), formulaTexts(one));
        } else if (kind == WaitKind::AnyKey) {
            EXPECT_TRUE(samePage(shot(program, prefix + "\\>", 5), shot(program, prefix + "k", 5)));
        } else {
            EXPECT_EQ(formulaTexts(shot(program, prefix + "\\> \\>" + walk.answers[i], 5)),
                      formulaTexts(shot(program, prefix + walk.answers[i], 5)));
        }
    }
    EXPECT_GE(seen[WaitKind::Step], 2);
}

// --walk N: each page of the section's sub-menu in turn, then its last item,
// and the program ends back at the main menu.
TEST(Walk, EveryPageOfASectionThenTheMainMenu) {
    for (const auto& [program, section] : {std::pair{solvara::program(), 2}, std::pair{ratiora::program(), 5}}) {
        LayerOptions lo;
        lo.headless = true;
        ProgramRun run(lo);
        Session& session = run.session();
        auto walker = sectionWalk(session, section);
        std::string chosen;
        int lastItem = 0, menus = 0;
        session.setMoreKeys([&] {
            std::string key = walker();
            if (session.waitKind() == WaitKind::SubMenu) chosen += key, lastItem = session.waitLastItem();
            menus += session.waitKind() == WaitKind::MainMenu && key == "\r";
            return key;
        });
        Engine e(run);
        EXPECT_EQ(runFrame(e, program), 0);
        std::string expected;
        for (int page = 1; page <= lastItem; ++page) expected += std::to_string(page) + "\r";
        EXPECT_GE(lastItem, 2);
        EXPECT_EQ(chosen, expected);
        EXPECT_EQ(menus, 1);  // the section chosen once; back at the menu the walk ends
    }
}

namespace {

// A run of the whole program with keys from `source` (asked at each wait),
// its stream recorded.
std::vector<testing_support::Event> runWith(const ProgramSpec& program,
                                            const std::function<std::string(const Session&)>& source) {
    LayerOptions lo;
    lo.headless = true;
    lo.seed = 4;
    ProgramRun run(lo);
    testing_support::RecordingSink recording;
    run.layer().addSink(recording);
    run.session().setMoreKeys([&] { return source(run.session()); });
    Engine e(run);
    runFrame(e, program);
    return recording.events();
}

std::vector<std::string> formulaTexts(const std::vector<testing_support::Event>& events) {
    std::vector<std::string> out;
    for (const auto& f : testing_support::ofOp(events, "formula")) out.push_back(f.str("text"));
    return out;
}

// The circled number n as the sub-menu lines write it.
std::string circled(int n) {
    const char32_t c = U'①' + static_cast<char32_t>(n - 1);
    return {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
            static_cast<char>(0x80 | (c & 0x3F))};
}

std::string tapScript(float x, float y) { return "\\@" + jsonNumber(x) + "," + jsonNumber(y) + ";"; }

}  // namespace

// A section run by taps alone once past the gate: its main-menu row, each
// circled number of its sub-menu line in turn, anywhere on the page at
// step prompts and any-key waits. It draws what the typed walk draws, and
// the trace keeps every tap where it was.
TEST(Taps, ASectionByTapsDrawsWhatTypedChoicesDraw) {
    for (const auto& [program, section] : {std::pair{solvara::program(), 2}, std::pair{ratiora::program(), 5}}) {
        std::function<std::string()> walker;
        const auto typed = runWith(program, [&](const Session& session) {
            if (!walker) walker = sectionWalk(session, section);
            return walker();
        });
        // Where the typed run drew the section's row and the sub-menu items.
        const std::string row = program.menu[static_cast<std::size_t>(section) - 1].text;
        std::map<std::string, Point> drawn;
        for (const auto& ev : typed) {
            // The formulas, and the glyphs of the sub-menu lines.
            const bool wanted = ev.op() == "formula" || (ev.op() == "text" && ev.num("y") == 666);
            const std::string what = wanted ? ev.str("text") : "";
            if (!what.empty() && !drawn.count(what))
                drawn[what] = {static_cast<float>(ev.num("x")), static_cast<float>(ev.num("y"))};
        }
        ASSERT_TRUE(drawn.count(row));
        bool chosen = false;
        int page = 0;
        std::deque<std::string> queued;
        std::vector<Point> tapped;
        auto tap = [&](Point p) {
            tapped.push_back(p);
            return tapKey(p.x, p.y);
        };
        const auto tapping = runWith(program, [&](const Session& session) -> std::string {
            if (!queued.empty()) {
                std::string key = queued.front();
                queued.pop_front();
                return key;
            }
            switch (session.waitKind()) {
                case WaitKind::Gate:
                    for (const std::string& k : parseKeyScript("926\\n")) queued.push_back(k);
                    return "5";
                case WaitKind::MainMenu:
                    if (chosen) return "";
                    chosen = true;
                    return tap({drawn[row].x + 40, drawn[row].y + 8});
                case WaitKind::SubMenu: {
                    page = std::min(page + 1, session.waitLastItem());
                    const auto at = drawn.find(circled(page));
                    if (at == drawn.end()) return "";
                    return tap({at->second.x + 8, at->second.y + 8});
                }
                case WaitKind::Step:
                    return tap({1200, 300});
                default:
                    return tap({672, 360});
            }
        });
        SCOPED_TRACE(program.title);
        EXPECT_EQ(formulaTexts(tapping), formulaTexts(typed));
        const auto taps = testing_support::ofOp(tapping, "tap");
        ASSERT_EQ(taps.size(), tapped.size());
        EXPECT_GE(page, 3);
        for (std::size_t i = 0; i < taps.size(); ++i) {
            EXPECT_FLOAT_EQ(taps[i].num("x"), tapped[i].x);
            EXPECT_FLOAT_EQ(taps[i].num("y"), tapped[i].y);
        }
    }
}

// A tap on nothing changes nothing: at the gate, beside the rows of the main
// menu, beside the items of a sub-menu line; a tap on a row with a number
// partly typed chooses the row. A step back over a tap gives the page before it.
TEST(Taps, OnNothingNothingAndBackOverATap) {
    const auto program = solvara::program();
    const auto typed = shot(program, "5926\\n2\\n", 3);
    const auto& row = typed.formula(program.menu[1].text);
    const float rowX = static_cast<float>(row.num("x")) + 30, rowY = static_cast<float>(row.num("y")) + 8;
    const std::string nothing = tapScript(1000, 400) + tapScript(rowX + 600, rowY) + tapScript(5, 700);
    const auto tapped = shot(program,
                             tapScript(400, 280) + "5926\\n" + nothing + "9" + tapScript(rowX, rowY) + tapScript(900, 690) +
                                 tapScript(672, 8),
                             3);
    EXPECT_TRUE(samePage(tapped, typed));
    EXPECT_EQ(formulaTexts(tapped), formulaTexts(typed));
    EXPECT_EQ(tapped.ofOp("tap").size(), 7u);
    // Item 3 of the sub-menu line, then an any-key wait of that page; back twice.
    const int line = typed.subMenuLines().back();
    float itemX = -1;
    for (std::size_t i = static_cast<std::size_t>(line); i < typed.events.size(); ++i)
        if (typed.events[i].op() == "text" && typed.events[i].str("text") == circled(3)) {
            itemX = static_cast<float>(typed.events[i].num("x"));
            break;
        }
    ASSERT_GT(itemX, 0);
    const std::string third = tapScript(itemX + 24, 670);
    const auto page3 = shot(program, "5926\\n2\\n3\\n", 3);
    EXPECT_TRUE(samePage(shot(program, "5926\\n2\\n" + third, 3), page3));
    EXPECT_TRUE(samePage(shot(program, "5926\\n2\\n" + third + tapScript(672, 360) + "\\<", 3), page3));
    EXPECT_TRUE(samePage(shot(program, "5926\\n2\\n" + third + "\\<", 3), typed));
}
