// Both programs under long seeded streams of keys: stray keys, keys held
// down, menu and sub-menu numbers and step answers. Every run must end
// because its keys are used up, never on the error screen, and every choice
// at a menu must do what the menu says; every section that exists must be
// reached and left again.
//
// LESSON_FUZZ_KEYS (keys per program, default 20000), LESSON_FUZZ_RUNS
// (runs they are split into, default 4) and LESSON_FUZZ_SEED (first seed,
// default 1) make longer or other runs.

#include "lessons_a/sections.h"
#include "lessons_b/sections.h"
#include "tests/robustness/key_streams.h"
#include "tests/robustness/trace_walk.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>

using namespace robustness;

namespace {

unsigned envNumber(const char* name, unsigned fallback) {
    const char* v = std::getenv(name);
    if (!v || !*v) return fallback;
    return static_cast<unsigned>(std::strtoul(v, nullptr, 10));
}

// Ends the test binary with a message when a run takes longer than it may:
// a program that no longer reads keys would otherwise hang the test.
class Watchdog {
public:
    Watchdog(std::string what, std::chrono::seconds limit) : what_(std::move(what)), thread_([this, limit] {
        std::unique_lock lock(mutex_);
        if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
            std::fprintf(stderr, "HANG: %s did not end within %lld s\n", what_.c_str(),
                         static_cast<long long>(limit.count()));
            std::abort();
        }
    }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        thread_.join();
    }

private:
    std::string what_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

struct RunOutcome {
    int status = -1;
    std::size_t keys = 0;
    WalkReport report;
};

// The program with each section telling the stream where it stands.
lesson::ProgramSpec tracked(const lesson::ProgramSpec& program, int& current) {
    lesson::ProgramSpec app = program;
    for (std::size_t i = 0; i < app.menu.size(); ++i) {
        if (!app.menu[i].section) continue;
        app.menu[i].section = [section = app.menu[i].section, &current, n = static_cast<int>(i) + 1](lesson::Engine& e) {
            struct Back {
                int& current;
                ~Back() { current = 0; }
            } back{current};
            current = n;
            section(e);
        };
    }
    return app;
}

RunOutcome runStream(const lesson::ProgramSpec& program, const ProgramProbe& probe, unsigned seed, std::size_t keys) {
    int current = 0;
    KeyStream stream(seed, keys, probe.plan());
    lesson::LayerOptions options;
    options.headless = true;
    options.width = 672;  // half the page: every call is still drawn
    options.height = 360;
    options.seed = seed;
    options.moreKeys = [&] { return stream.next(current); };
    options.trace = testing_support::tempPath("fuzz") + ".jsonl";
    RunOutcome out;
    {
        Watchdog watchdog(program.name + " with key seed " + std::to_string(seed), std::chrono::seconds(600));
        lesson::ProgramRun run(options);
        lesson::Engine e(run);
        out.status = lesson::runFrame(e, tracked(program, current));
        run.finish();
    }
    out.keys = stream.typed();
    out.report = walkTrace(options.trace, probe);
    const bool keep = out.status != 0 || !out.report.problems.empty() || out.report.keysRead != keys ||
                      std::getenv("LESSON_FUZZ_KEEP_TRACES") != nullptr;
    if (keep) std::printf("trace of %s with key seed %u kept in %s\n", program.name.c_str(), seed, options.trace.c_str());
    else std::remove(options.trace.c_str());
    return out;
}

void fuzzProgram(const lesson::ProgramSpec& program) {
    const ProgramProbe probe = probeProgram(program);
    const unsigned totalKeys = envNumber("LESSON_FUZZ_KEYS", 20000);
    const unsigned runs = std::max(1u, envNumber("LESSON_FUZZ_RUNS", 4));
    const unsigned firstSeed = envNumber("LESSON_FUZZ_SEED", 1);
    const std::size_t perRun = (totalKeys + runs - 1) / runs;
    std::map<int, int> entered, left, pages;
    std::size_t keysRead = 0;
    for (unsigned r = 0; r < runs; ++r) {
        const unsigned seed = firstSeed + r;
        const RunOutcome run = runStream(program, probe, seed, perRun);
        SCOPED_TRACE(program.name + " key seed " + std::to_string(seed));
        EXPECT_EQ(run.status, 0);
        EXPECT_FALSE(run.report.quit) << "the stream reached the quit item";
        EXPECT_EQ(run.keys, perRun) << "the program ended before its keys were used up";
        EXPECT_EQ(run.report.keysRead, run.keys) << "the trace does not hold every key read";
        for (std::size_t i = 0; i < run.report.problems.size() && i < 10; ++i) ADD_FAILURE() << run.report.problems[i];
        keysRead += run.report.keysRead;
        for (const auto& [s, n] : run.report.entered) entered[s] += n;
        for (const auto& [s, n] : run.report.left) left[s] += n;
        for (const auto& [s, n] : run.report.pagesStarted) pages[s] += n;
    }
    EXPECT_GE(keysRead, totalKeys);
    std::printf("%s: %zu keys read in %u runs from seed %u; %zu sections exist\n", program.name.c_str(), keysRead,
                runs, firstSeed, probe.sections.size());
    for (const auto& [number, section] : probe.sections) {
        std::printf("  section %d: entered %d times, left %d times, %d pages started\n", number, entered[number],
                    left[number], pages[number]);
        EXPECT_GE(entered[number], 1) << "section " << number << " was never reached";
        EXPECT_GE(left[number], 1) << "section " << number << " never led back to the main menu";
    }
    ::testing::Test::RecordProperty("keys_read", static_cast<int>(keysRead));
}

// Entries a stream completes while the program stands where `section` says.
std::vector<std::string> entriesTyped(KeyStream& stream, int section, std::size_t keys, std::vector<std::string>* all = nullptr) {
    EntryField field;
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < keys; ++i) {
        const std::string k = stream.next(section);
        if (k.empty()) break;
        if (all) all->push_back(k);
        if (field.feed(k)) {
            entries.push_back(field.text());
            field.reset();
        }
    }
    return entries;
}

std::size_t longestRun(const std::vector<std::string>& keys) {
    std::size_t best = 0, run = 0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        run = (i > 0 && keys[i] == keys[i - 1]) ? run + 1 : 1;
        best = std::max(best, run);
    }
    return best;
}

const StreamPlan kPlan{8, {{1, 4}, {2, 10}, {5, 9}}};

}  // namespace

TEST(KeyStreams, EntryValues) {
    EXPECT_FLOAT_EQ(entryValueOf("3/4"), 0.75f);
    EXPECT_FLOAT_EQ(entryValueOf("-6/3"), -2);
    EXPECT_FLOAT_EQ(entryValueOf("3/0"), 0);
    EXPECT_FLOAT_EQ(entryValueOf(""), 0);
    EntryField f;
    for (const char* k : {"1", "2", "\b", "3", "k", "\r"}) {
        if (f.feed(k)) break;
    }
    EXPECT_EQ(f.text(), "3");
    f.reset();
    for (int i = 0; i < 10; ++i) f.feed("9");
    EXPECT_FALSE(f.feed("\r"));  // ten characters: Enter clears the field
    EXPECT_EQ(f.text(), "");
}

TEST(KeyStreams, StartWithThePasswordAndNeverQuitAtTheMenu) {
    KeyStream stream(3, 20000, kPlan);
    std::vector<std::string> first;
    for (int i = 0; i < 5; ++i) first.push_back(stream.next(0));
    EXPECT_EQ(first, (std::vector<std::string>{"5", "9", "2", "6", "\r"}));
    std::map<float, int> chosen;
    for (const std::string& e : entriesTyped(stream, 0, 19995)) ++chosen[entryValueOf(e)];
    EXPECT_EQ(chosen.count(8.0f), 0u) << "the quit item was typed at the main menu";
    for (const SectionTarget& s : kPlan.sections) EXPECT_GT(chosen[static_cast<float>(s.number)], 100) << s.number;
    EXPECT_GT(chosen.size(), 6u) << "no odd entries at the main menu";
    EXPECT_EQ(stream.next(0), "") << "more keys than asked for";
}

TEST(KeyStreams, InsideASectionEveryItemAndHeldKeys) {
    KeyStream stream(5, 200000, kPlan);
    for (int i = 0; i < 5; ++i) stream.next(0);
    std::vector<std::string> keys;
    std::map<float, int> chosen;
    for (int visit = 0; visit < 40; ++visit) {
        entriesTyped(stream, 0, 1);  // a key at the main menu between visits
        for (const std::string& e : entriesTyped(stream, 2, 1500, &keys)) ++chosen[entryValueOf(e)];
    }
    EXPECT_EQ(stream.visits()[2], 40);
    // Every item, the one worth the quit number too; and the last item,
    // which the stream gives again and again once a visit's keys are spent.
    for (int item = 1; item <= 10; ++item) EXPECT_GT(chosen[static_cast<float>(item)], 0) << item;
    EXPECT_GT(chosen[10.0f], chosen[3.0f]);
    EXPECT_GE(longestRun(keys), 100u) << "no key is held down";
    for (const char* k : {"\b", "\x0c", "-", ".", "/", "k", "\x1b", "あ"})
        EXPECT_NE(std::find(keys.begin(), keys.end(), k), keys.end()) << k;
}

TEST(KeyStreams, WhatWasMeantForALeftSectionIsDropped) {
    KeyStream stream(9, 1000, kPlan);
    for (int i = 0; i < 5; ++i) stream.next(0);
    stream.next(1);
    stream.next(1);  // half-way through some key sequence of section 1
    const std::string k = stream.next(0);
    EXPECT_TRUE(k == "\b" || (k.size() == 1 && k[0] >= 'a' && k[0] <= 'z')) << "\"" << k << "\"";
    EXPECT_EQ(stream.visits()[1], 1);
}

TEST(Probe, FindsTheSectionsThatExistAndTheirLastItems) {
    const ProgramProbe probe = probeProgram(solvara::program());
    EXPECT_EQ(probe.quitNumber, 8);
    EXPECT_EQ(probe.heading, "＜Solvara　メニュー＞");
    EXPECT_EQ(probe.sections.count(7), 0u);  // the empty slot draws the menu again
    ASSERT_EQ(probe.sections.count(2), 1u);
    EXPECT_EQ(probe.sections.at(2).lastItem, 10);
    for (const auto& [number, s] : probe.sections) {
        EXPECT_GE(s.lastItem, 2) << number;
        EXPECT_EQ(s.line.substr(s.line.size() - std::string("終了").size()), "終了") << number;
    }
}

TEST(KeyFuzz, SolvaraTakesEveryStreamToItsEnd) { fuzzProgram(solvara::program()); }

TEST(KeyFuzz, RatioraTakesEveryStreamToItsEnd) { fuzzProgram(ratiora::program()); }
