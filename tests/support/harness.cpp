#include "tests/support/harness.h"

#include "engine/graphics/trace.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace testing_support {

namespace {
Event eventOf(const std::string& line) { return Event{parseJson(line)}; }
}  // namespace

void RecordingSink::draw(const lesson::DrawCommand& cmd) { events_.push_back(eventOf(lesson::traceLine(cmd))); }

void RecordingSink::key(std::string_view key) { events_.push_back(eventOf(lesson::traceKeyLine(key))); }

void RecordingSink::tap(float x, float y) { events_.push_back(eventOf(lesson::traceTapLine(x, y))); }

void RecordingSink::formula(std::string_view text, float x, float y, int color, float end) {
    events_.push_back(eventOf(lesson::traceFormulaLine(text, x, y, color, end)));
}

void RecordingSink::wait(std::string_view kind) { events_.push_back(eventOf(lesson::traceWaitLine(kind))); }

void RecordingSink::ink(const lesson::InkAction& action) { events_.push_back(eventOf(lesson::traceInkLine(action))); }

std::vector<unsigned char> pixelsOf(const std::string& path) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    std::vector<unsigned char> out;
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        const unsigned char* data = cairo_image_surface_get_data(s);
        out.assign(data, data + cairo_image_surface_get_stride(s) * cairo_image_surface_get_height(s));
    }
    cairo_surface_destroy(s);
    return out;
}

std::string tempPath(const std::string& stem) {
    static std::atomic<int> counter{0};
    return ::testing::TempDir() + stem + "-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
}

std::vector<Event> RunResult::ofOp(const std::string& op) const { return testing_support::ofOp(events, op); }

std::vector<Event> RunResult::formulas() const { return ofOp("formula"); }

std::vector<Event> RunResult::formulasWith(const std::string& text) const {
    std::vector<Event> out;
    for (const Event& e : events)
        if (e.op() == "formula" && e.str("text") == text) out.push_back(e);
    return out;
}

int RunResult::indexOfFormula(const std::string& text, int from) const {
    for (int i = std::max(from, 0); i < static_cast<int>(events.size()); ++i)
        if (events[i].op() == "formula" && events[i].str("text") == text) return i;
    return -1;
}

int RunResult::keyCount() const { return static_cast<int>(ofOp("key").size()); }

std::vector<int> RunResult::indicesWhere(const std::function<bool(const Event&)>& test, int from, int to) const {
    const int last = to < 0 ? static_cast<int>(events.size()) : std::min(to, static_cast<int>(events.size()));
    std::vector<int> out;
    for (int i = std::max(from, 0); i < last; ++i)
        if (test(events[static_cast<std::size_t>(i)])) out.push_back(i);
    return out;
}

int RunResult::anyKeyPromptsBetween(int from, int to) const {
    return static_cast<int>(indicesWhere(isAnyKeyPrompt, from, to).size());
}

std::vector<int> RunResult::subMenuLines() const { return indicesWhere(isSubMenuLineStart); }

const Event& RunResult::formula(const std::string& text) const {
    const int at = indexOfFormula(text);
    EXPECT_GE(at, 0) << "no formula " << text;
    if (at < 0) throw std::runtime_error("no formula " + text);
    return events[static_cast<std::size_t>(at)];
}

bool isWait(const Event& ev, const std::string& kind) { return ev.op() == "wait" && ev.str("kind") == kind; }

bool isAnyKeyPrompt(const Event& ev) { return isWait(ev, "anykey"); }

bool isSubMenuLineStart(const Event& ev) { return isWait(ev, "submenu"); }

RunResult runHeadless(const lesson::ProgramSpec& program, const std::string& keys, const RunOptions& options) {
    lesson::LayerOptions lo;
    lo.headless = true;
    lo.keys = lesson::parseKeyScript(keys);
    lo.seed = options.seed;
    lo.width = options.width;
    lo.height = options.height;
    RunResult result;
    if (options.screenshot) lo.screenshot = result.screenshot = tempPath("shot") + ".png";
    RecordingSink recording;
    {
        lesson::ProgramRun run(lo);
        run.layer().addSink(recording);
        lesson::Engine e(run);
        result.status = lesson::runFrame(e, program);
        run.finish();
    }
    result.events = recording.events();
    return result;
}

EngineFixture::EngineFixture(const std::string& keys, unsigned seed, int width, int height) {
    lesson::LayerOptions lo;
    lo.headless = true;
    lo.keys = lesson::parseKeyScript(keys);
    lo.seed = seed;
    lo.width = width;
    lo.height = height;
    run_ = std::make_unique<lesson::ProgramRun>(lo);
    lesson::Layer& g = run_->layer();
    g.addSink(recording_);
    engine_ = std::make_unique<lesson::Engine>(*run_);
    g.setFontName("ｺﾞｼｯｸ");
    g.setFontSize(16);
    g.setDrawWidth(3);
    run_->randomize(0);
}

EngineFixture::~EngineFixture() {
    engine_.reset();
    run_.reset();
}

std::vector<Event> EngineFixture::events() { return recording_.events(); }

std::vector<Event> EngineFixture::eventsSince(std::size_t from) {
    auto all = events();
    if (from >= all.size()) return {};
    return {all.begin() + static_cast<long>(from), all.end()};
}

}  // namespace testing_support
