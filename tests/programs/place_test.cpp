// The place a run keeps in the state folder: a run started again stands
// where the last one stood, the same page and the same random problem, and
// its backs go on from there; a place that cannot be read starts at the gate.

#include "engine/frame/frame.h"
#include "lessons_a/sections.h"
#include "lessons_b/sections.h"
#include "tests/support/harness.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>

using namespace lesson;
namespace fs = std::filesystem;

namespace {

using testing_support::pixelsOf;

struct Kept {
    bool resumed = false;
    std::vector<unsigned char> page;
    std::vector<std::string> waits;  // the kinds of the waits the sinks saw
    std::string keys;                // a walk's keys, as a key script
};

// A run that keeps its place under `state`: the scripted keys, then a
// seeded walk of `walk` waits (each wait answered at random), then it stops.
Kept runKeeping(const ProgramSpec& program, const fs::path& state, const std::string& keys,
                std::optional<unsigned> seed, std::size_t walk = 0) {
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    LayerOptions lo;
    lo.headless = true;
    lo.keepPlace = true;
    lo.program = program.name;
    lo.seed = seed;
    lo.keys = parseKeyScript(keys);
    lo.screenshot = testing_support::tempPath("place") + ".png";
    Kept kept;
    testing_support::RecordingSink recording;
    {
        ProgramRun run(lo);
        Session& session = run.session();
        run.layer().addSink(recording);
        kept.resumed = run.resumed();
        std::mt19937 rng(7);
        std::size_t answered = 0;
        std::string queued;
        session.setMoreKeys([&]() -> std::string {
            if (queued.empty()) {
                if (answered++ >= walk) return "";
                const WaitKind kind = session.waitKind();
                auto upTo = [&](int n) { return std::to_string(std::uniform_int_distribution<int>(1, std::max(1, n))(rng)); };
                queued = kind == WaitKind::Gate       ? "5926\r"
                         : kind == WaitKind::MainMenu ? upTo(static_cast<int>(program.menu.size()) - 1) + "\r"
                         : kind == WaitKind::SubMenu  ? upTo(session.waitLastItem()) + "\r"
                         : kind == WaitKind::Step     ? upTo(2) + "\r"
                                                      : "k";
                kept.keys += queued.back() == '\r' ? queued.substr(0, queued.size() - 1) + "\\n" : queued;
            }
            std::string key(1, queued.front());
            queued.erase(0, 1);
            return key;
        });
        Engine e(run);
        runFrame(e, program);
        run.finish();
    }
    for (const auto& ev : recording.events())
        if (ev.op() == "wait") kept.waits.push_back(ev.str("kind"));
    kept.page = pixelsOf(lo.screenshot);
    fs::remove(lo.screenshot);
    return kept;
}

// State folders of their own, gone when the test ends.
class KeptPlace : public ::testing::Test {
protected:
    fs::path freshState(const std::string& name) {
        folders_.push_back(testing_support::tempPath(name));
        return folders_.back();
    }
    void TearDown() override {
        for (const fs::path& folder : folders_) fs::remove_all(folder);
    }

private:
    std::vector<fs::path> folders_;
};

}  // namespace

// Started again, a run stands where the last one stood: the same page, the
// same random problem (of the clock's seed), with nothing typed; a back from
// there goes to the wait before as it stood; the page's ink comes back with it.
TEST_F(KeptPlace, ARunStartedAgainStandsWhereItStoodAndItsBacksGoOn) {
    for (const ProgramSpec& program : {solvara::program(), ratiora::program()}) {
        SCOPED_TRACE(program.name);
        for (std::size_t waits : {std::size_t{2}, std::size_t{300}}) {
            SCOPED_TRACE(waits);
            const fs::path state = freshState("state");
            const Kept first = runKeeping(program, state, "", std::nullopt, waits);
            ASSERT_FALSE(first.resumed);
            ASSERT_TRUE(fs::exists(state / program.name / "place" / "head"));
            const Kept again = runKeeping(program, state, "", std::nullopt);
            EXPECT_TRUE(again.resumed);
            ASSERT_FALSE(again.page.empty());
            EXPECT_TRUE(again.page == first.page);
            // A replay reaches no sink: the run started again shows only the wait it stands at.
            EXPECT_EQ(again.waits.size(), 1u);

            // Seeded, with the teacher's ink at the wait it stood at: started
            // again it shows what the same keys show in one run, the ink too;
            // a few waits on, a back shows what a back shows in one run.
            const fs::path seeded = freshState("seeded");
            const Kept walked = runKeeping(program, seeded, "", 11, waits);
            const std::string ink = "\\~r:1290,20 1320,40 1330,60;";
            runKeeping(program, seeded, ink, 11);
            const Kept inked = runKeeping(program, seeded, "", 11);
            EXPECT_TRUE(inked.page != walked.page);
            EXPECT_TRUE(inked.page == runKeeping(program, freshState("once"), walked.keys + ink, 11).page);
            const Kept more = runKeeping(program, seeded, "", 11, 6);
            const Kept back = runKeeping(program, seeded, "\\<", 11);
            const Kept once = runKeeping(program, freshState("once"), walked.keys + ink + more.keys + "\\<", 11);
            EXPECT_TRUE(back.resumed);
            EXPECT_TRUE(back.page == once.page);
            // The place follows the run: the back itself is kept.
            EXPECT_TRUE(runKeeping(program, seeded, "", 11).page == once.page);
        }
    }
}

// A place cut short, garbled, or without a round it names starts the program
// at the gate, as a first opening does, and is set aside.
TEST_F(KeptPlace, APlaceThatCannotBeReadStartsAtTheGateAndIsSetAside) {
    const ProgramSpec program = solvara::program();
    const Kept gate = runKeeping(program, freshState("gate"), "", std::nullopt);
    ASSERT_EQ(gate.waits, std::vector<std::string>{"gate"});
    auto garbles = std::vector<std::function<void(const fs::path&)>>{
        [](const fs::path& place) { fs::resize_file(place / "head", fs::file_size(place / "head") / 2); },
        [](const fs::path& place) {
            std::fstream head(place / "head", std::ios::in | std::ios::out | std::ios::binary);
            head.seekp(20);
            head.put('\x7f');
        },
        [](const fs::path& place) {
            for (const auto& item : fs::directory_iterator(place))
                if (item.path().filename().string().rfind("round-", 0) == 0) fs::remove(item.path());
        },
        [](const fs::path& place) { std::ofstream(place / "head", std::ios::binary) << "not a place at all"; },
    };
    for (std::size_t i = 0; i < garbles.size(); ++i) {
        SCOPED_TRACE(i);
        const fs::path state = freshState("garbled");
        runKeeping(program, state, "", std::nullopt, 60);
        const fs::path place = state / program.name / "place";
        garbles[i](place);
        const Kept opened = runKeeping(program, state, "", std::nullopt);
        EXPECT_FALSE(opened.resumed);
        EXPECT_EQ(opened.waits, gate.waits);
        EXPECT_TRUE(opened.page == gate.page);
        EXPECT_TRUE(fs::exists(state / program.name / "place.unreadable" / "head"));
    }
}
