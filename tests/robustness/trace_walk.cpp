#include "tests/robustness/trace_walk.h"

#include "engine/graphics/program_run.h"
#include "engine/chars/chars.h"
#include "tests/support/harness.h"
#include "tests/support/trace_reader.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <optional>

namespace robustness {

namespace {

constexpr std::string_view kErrorText = "エラーが発生しました";
// The sub-menu line is drawn in colour 0 from (16, 666); half-width
// characters of it stand 4 higher.
constexpr float kLineX = 16;
constexpr float kLineY = 666;
constexpr float kRaisedLineY = 662;

// What of a trace matters here.
struct Mark {
    enum class Kind { Heading, Formula, Line, Key, Error } kind;
    std::string text;
};

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Reads a trace into marks; a sub-menu line is the run of its glyphs.
class MarkReader {
public:
    explicit MarkReader(std::string heading) : heading_(std::move(heading)) {}

    std::vector<Mark> read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::string raw;
        while (std::getline(in, raw)) take(raw);
        endLine();
        return std::move(marks_);
    }

private:
    void take(const std::string& raw) {
        if (raw.find(kErrorText) != std::string::npos || startsWith(raw, R"({"op":"cls")")) {
            endLine();
            marks_.push_back({Mark::Kind::Error, raw});
            return;
        }
        if (startsWith(raw, R"({"op":"text")")) {
            takeText(raw);
            return;
        }
        endLine();
        if (startsWith(raw, R"({"op":"key")")) {
            marks_.push_back({Mark::Kind::Key, testing_support::parseJson(raw).object.at("key").string});
        } else if (startsWith(raw, R"({"op":"formula")")) {
            const std::string text = testing_support::parseJson(raw).object.at("text").string;
            marks_.push_back({text == heading_ ? Mark::Kind::Heading : Mark::Kind::Formula, text});
        }
    }

    void takeText(const std::string& raw) {
        // Only glyphs on the sub-menu row are looked at closely.
        const bool onRow = raw.find(R"("y":666,)") != std::string::npos || raw.find(R"("y":662,)") != std::string::npos;
        if (!onRow) {
            endLine();
            return;
        }
        const testing_support::Json j = testing_support::parseJson(raw);
        const float x = static_cast<float>(j.object.at("x").number);
        const float y = static_cast<float>(j.object.at("y").number);
        const int color = static_cast<int>(j.object.at("color").number);
        const std::string& glyph = j.object.at("text").string;
        if (color == 0 && x == kLineX && y == kLineY) {
            endLine();
            line_ = glyph;
        } else if (line_ && color == 0 && (y == kLineY || y == kRaisedLineY)) {
            *line_ += glyph;
        } else {
            endLine();
        }
    }

    void endLine() {
        if (line_) marks_.push_back({Mark::Kind::Line, *line_});
        line_.reset();
    }

    std::string heading_;
    std::vector<Mark> marks_;
    std::optional<std::string> line_;
};

bool isWhole(float v) { return v == std::floor(v); }

std::string describe(const char* what, int section, const std::string& typed, std::size_t keyIndex) {
    return std::string(what) + " (section " + std::to_string(section) + ", typed \"" + typed + "\", key " +
           std::to_string(keyIndex) + ")";
}

class Walker {
public:
    Walker(const ProgramProbe& probe, WalkReport& report) : probe_(probe), report_(report) {
        for (const auto& [number, s] : probe.sections) byLine_[s.line] = number;
    }

    void walk(const std::vector<Mark>& marks) {
        for (const Mark& m : marks) step(m);
    }

private:
    enum class Prompt { None, Menu, SubMenu };
    // What must come next after a choice.
    enum class Expect {
        Nothing,
        Heading,             // the next formula or line is the menu heading
        NotHeading,          // a page: the next formula or line is not the heading
        SameLine,            // the sub-menu again, before any formula
        LineBeforeHeading,   // the section's sub-menu comes before the menu does
        End,                 // the program ended
    };

    void step(const Mark& m) {
        switch (m.kind) {
            case Mark::Kind::Error:
                report_.problems.push_back("the error screen was shown: " + m.text.substr(0, 200));
                break;
            case Mark::Kind::Key:
                key(m.text);
                break;
            case Mark::Kind::Heading:
                check(m);
                prompt_ = Prompt::Menu;
                entry_.reset();
                break;
            case Mark::Kind::Line: {
                check(m);
                const auto it = byLine_.find(m.text);
                if (it != byLine_.end()) {
                    prompt_ = Prompt::SubMenu;
                    section_ = it->second;
                    entry_.reset();
                } else {
                    prompt_ = Prompt::None;  // a sub-menu inside a page
                }
                break;
            }
            case Mark::Kind::Formula:
                check(m);
                break;
        }
    }

    void key(const std::string& k) {
        ++report_.keysRead;
        if (expect_ == Expect::End) {
            report_.problems.push_back("a key was read after the quit item");
            expect_ = Expect::Nothing;
        }
        if (prompt_ == Prompt::None) return;
        if (!entry_.feed(k)) return;
        const float v = entry_.value();
        if (prompt_ == Prompt::Menu) menuChoice(v);
        else subMenuChoice(v);
        prompt_ = Prompt::None;
    }

    void menuChoice(float v) {
        typed_ = entry_.text();
        choiceKey_ = report_.keysRead;
        if (v == static_cast<float>(probe_.quitNumber)) {
            report_.quit = true;
            expect_ = Expect::End;
            return;
        }
        const bool section = v >= 1 && v < static_cast<float>(probe_.quitNumber) && isWhole(v) &&
                             probe_.sections.count(static_cast<int>(v)) != 0;
        if (section) {
            section_ = static_cast<int>(v);
            expect_ = Expect::LineBeforeHeading;
        } else {
            section_ = 0;
            expect_ = Expect::Heading;
        }
    }

    void subMenuChoice(float v) {
        typed_ = entry_.text();
        choiceKey_ = report_.keysRead;
        const int last = probe_.sections.at(section_).lastItem;
        if (v == static_cast<float>(last)) {
            expect_ = Expect::Heading;
            leaving_ = true;
        } else if (v >= 1 && v < static_cast<float>(last) && isWhole(v)) {
            expect_ = Expect::NotHeading;
            ++report_.pagesStarted[section_];
        } else {
            expect_ = Expect::SameLine;
        }
    }

    void problem(const char* what) { report_.problems.push_back(describe(what, section_, typed_, choiceKey_)); }

    void check(const Mark& m) {
        const bool heading = m.kind == Mark::Kind::Heading;
        const bool line = m.kind == Mark::Kind::Line;
        switch (expect_) {
            case Expect::Nothing:
                return;
            case Expect::Heading:
                if (!heading) problem(leaving_ ? "the sub-menu's last item did not lead back to the main menu"
                                               : "a choice outside the menu did not draw the menu again");
                else if (leaving_) ++report_.left[section_];
                break;
            case Expect::NotHeading:
                if (heading) problem("a page chosen from the sub-menu went back to the main menu");
                break;
            case Expect::SameLine:
                if (!line || byLine_.count(m.text) == 0 || byLine_.at(m.text) != section_)
                    problem("a choice outside the sub-menu did not draw the sub-menu again");
                break;
            case Expect::LineBeforeHeading:
                if (m.kind == Mark::Kind::Formula) return;  // the section's first page
                if (line && byLine_.count(m.text) != 0 && byLine_.at(m.text) == section_) ++report_.entered[section_];
                else if (!line || byLine_.count(m.text) != 0) problem("the menu choice did not reach its section's sub-menu");
                else return;  // a sub-menu of the section's first page
                break;
            case Expect::End:
                problem("something was drawn after the quit item");
                break;
        }
        expect_ = Expect::Nothing;
        leaving_ = false;
    }

    const ProgramProbe& probe_;
    WalkReport& report_;
    std::map<std::string, int> byLine_;
    Prompt prompt_ = Prompt::None;
    Expect expect_ = Expect::Nothing;
    EntryField entry_;
    int section_ = 0;
    bool leaving_ = false;
    std::string typed_;
    std::size_t choiceKey_ = 0;
};

std::string headingOf(const lesson::ProgramSpec& program) { return "＜" + program.title + "　メニュー＞"; }

}  // namespace

// The number of the line's last circled number: "①～⑦解答　⑧終了" ends at 8.
int circledNumbers(const std::string& line) {
    int n = 0;
    for (std::string_view ch : lesson::splitChars(line)) {
        const char32_t cp = lesson::codePoint(ch);
        if (cp >= U'\u2460' && cp <= U'\u2473') n = static_cast<int>(cp - U'\u2460') + 1;
    }
    return n;
}

StreamPlan ProgramProbe::plan() const {
    StreamPlan p;
    p.quitNumber = quitNumber;
    for (const auto& [number, s] : sections) p.sections.push_back({number, s.lastItem});
    return p;
}

std::vector<std::string> subMenuLines(const std::string& tracePath) {
    std::vector<std::string> lines;
    for (const Mark& m : MarkReader("").read(tracePath))
        if (m.kind == Mark::Kind::Line) lines.push_back(m.text);
    return lines;
}

ProgramProbe probeProgram(const lesson::ProgramSpec& program) {
    ProgramProbe probe;
    probe.heading = headingOf(program);
    probe.quitNumber = static_cast<int>(program.menu.size());
    for (int n = 1; n < probe.quitNumber; ++n) {
        // Keys for an aims page that waits; at a sub-menu a letter is ignored.
        lesson::LayerOptions options;
        options.headless = true;
        options.width = 336;
        options.height = 180;
        options.seed = 1;
        options.trace = testing_support::tempPath("probe") + ".jsonl";
        options.keys = lesson::parseKeyScript("5926\n" + std::to_string(n) + "\n" + std::string(40, 'k'));
        {
            lesson::ProgramRun run(options);
            lesson::Engine e(run);
            lesson::runFrame(e, program);
            run.finish();
        }
        const std::vector<Mark> marks = MarkReader(probe.heading).read(options.trace);
        std::remove(options.trace.c_str());
        // Keys read from the menu's Enter up to the first sub-menu line.
        // The first sub-menu line after the menu's Enter is the section's.
        const std::size_t menuEnter = 5 + std::to_string(n).size() + 1;
        std::size_t keys = 0;
        for (const Mark& m : marks) {
            if (m.kind == Mark::Kind::Key) ++keys;
            if (m.kind == Mark::Kind::Line && keys >= menuEnter) {
                probe.sections[n] = {m.text, circledNumbers(m.text)};
                break;
            }
        }
    }
    return probe;
}

WalkReport walkTrace(const std::string& tracePath, const ProgramProbe& probe) {
    WalkReport report;
    Walker walker(probe, report);
    walker.walk(MarkReader(probe.heading).read(tracePath));
    return report;
}

}  // namespace robustness
