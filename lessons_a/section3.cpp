// P91(練習問題): the worked answers of the twelve exercises, on two screens.

#include "engine/pages/section.h"
#include "lessons_a/sections.h"

namespace solvara {

using namespace lesson;
using namespace lesson::notation;

namespace {

const AnswerScreen kScreen1 = {
    {Column{40, 121},
     {
         AnswerBlock{"(1)", plus(60), {"x-3=23", {"x-3+3=23+3", 50}, {"x=26", 50}}},
         AnswerBlock{"(2)", plus(60), {"x+15=11", {"x+15-15=11-15", 50}, {"x=-4", 50}}},
         AnswerBlock{"(3)", plus(60), {"7+x=30", {"7+x-7=30-7", 50}, {"x=23", 50}}},
     }},
    {Column{600, 681},
     {
         AnswerBlock{"(4)", plus(60), {"-5+x=3", {"-5+x+5=3+5", 50}, {"x=8", 50}}},
         AnswerBlock{"(5)", plus(60), {"4x=-12", {"ﾀ4x/4ﾀ=ﾀ-12/4ﾀ", 70}, {"x=-3", 70}}},
         AnswerBlock{"(6)", plus(60), {"-7x=-35", {"ﾀ-7x/-7ﾀ=ﾀ-35/-7ﾀ", 70}, {"x=5", 70}}, key},
     }},
};

const AnswerScreen kScreen2 = {
    {Column{40, 121},
     {
         AnswerBlock{"(7)", 30, {"ﾀx/3ﾀ=5", {"ﾀx/3ﾀ*3=5*3", 70}, {"x=15", 70}}},
         AnswerBlock{"(8)", plus(60),
                     {"ﾀ1/8ﾀx=-ﾀ3/4ﾀ", {"ﾀ1/8ﾀx*8=-ﾀ3/4ﾀ*8", 70}, {"x=-3*2", 60}, {"x=-6", 50}}},
         AnswerBlock{"(9)", plus(60),
                     {"ﾀ3/5ﾀx=-6", {"ﾀ3/5ﾀx*ﾀ5/3ﾀ=-6*ﾀ5/3ﾀ", 70}, {"x=-2*5", 70}, {"=-10", after, same}}},
     }},
    // Two-digit labels: the steps stand 108 in.
    {Column{600, 708},
     {
         AnswerBlock{"(10)", 30, {"x+1.6=-1.9", {"x+1.6-1.6=-1.9-1.6", 70}, {"x=-3.5", 70}}},
         AnswerBlock{"(11)", plus(60), {"0.2x=-12", {"0.2x/0.2=-12/0.2", 70}, {"x=-60", 70}}},
         AnswerBlock{"(12)", plus(60),
                     {"ﾀ1/4ﾀ+x=-ﾀ1/2ﾀ",
                      {"ﾀ1/4ﾀ+x-ﾀ1/4ﾀ=-ﾀ1/2ﾀ-ﾀ1/4ﾀ", 70},
                      {"x=-ﾀ2/4ﾀ-ﾀ1/4ﾀ", 70},
                      {"=-ﾀ3/4ﾀ", after, same}}},
     }},
};

void answers(Engine& e) { runSheet(e, exerciseHeading("P91(練習問題)"), {{"1", {}, kScreen1}, {"", {}, kScreen2}}); }

}  // namespace

void section3(Engine& e) { runSection(e, {{}, "①解答　　　②終了", {answers}}); }

}  // namespace solvara
