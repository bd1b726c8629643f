#pragma once
// The page read aloud: each formula said as a teacher says it in class
// ("ﾀx/3ﾀ=5" is "3ぶんのエックス イコール 5": the denominator first, digits
// kept as digits for the voice), the lessons' own words kept as they are;
// and each step's new text, gathered from the drawing stream, handed to the
// run at every wait (ProgramRun::speakStep) with the text the page then holds.

#include "engine/graphics/commands.h"

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace lesson {

class ProgramRun;

// The markup as it is said. What no reading covers is said character by
// character, never left out.
std::string spokenFormula(std::string_view markup);

// Sees the stream as the class sees it: the text of each step (what was
// drawn since the last key was read) and of the page (since it was last
// cleared; a text drawn again in white, or under a box drawn over where it
// begins, is erased from it: a drill's page holds its current problem, not
// every one it ever showed). At each wait it hands both to the run. The wait
// a step back goes to is told again as it was first told.
class SpokenSteps : public DrawSink {
public:
    explicit SpokenSteps(ProgramRun& run) : run_(run) {}
    void draw(const DrawCommand& cmd) override;
    void formula(std::string_view text, float x, float y, int color, float end) override;
    void key(std::string_view) override { keyRead(); }
    void tap(float, float) override { keyRead(); }
    void wait(std::string_view kind) override;

private:
    struct Glyph {
        float x, y;
        int color;
        std::string text;
    };
    struct Said {
        std::string text;
        float x, y;  // where it begins
    };
    struct Told {
        std::string step;
        std::vector<Said> page;
    };
    void keyRead();
    void takeGlyphs();
    void say(std::string text, int color, float x, float y);
    void coveredBy(const DrawCommand& box);
    void clear();

    ProgramRun& run_;
    std::vector<Glyph> glyphs_;       // plain text drawn since the last formula
    std::vector<Said> step_;          // what the step has said so far
    std::vector<Said> page_;          // what the page holds
    std::deque<Told> told_;           // what each recent wait told, oldest first
    std::size_t firstTold_ = 0;       // the wait (counted from 0) of told_.front()
};

}  // namespace lesson
