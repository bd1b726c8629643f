// P96(練習問題): the worked answers of the two exercise sets, three screens each.

#include "engine/pages/section.h"
#include "lessons_a/sections.h"

namespace solvara {

using namespace lesson;
using namespace lesson::notation;

namespace {

const char* const kTitle = "P96(練習問題)";

// ---- Set 1: one-step equations and transposition ------------------------

const AnswerScreen kSet1Screen1 = {
    {Column{40, 121},
     {
         AnswerBlock{"(1)", plus(60), {"3x=21", {"x=ﾀ21/3ﾀ", 70}, {"x=7", 70}}},
         AnswerBlock{"(2)", plus(60), {"17x=17", {"x=ﾀ17/17ﾀ", 70}, {"x=1", 70}}},
     }},
    {Column{320, 401},
     {
         AnswerBlock{"(3)", plus(60), {"ﾀ4/5ﾀx=8", {"x=8*ﾀ5/4ﾀ", 70}, {"x=2*5", 70}, {"x=10", 70}}},
         AnswerBlock{"(4)", plus(60), {"18=-2x", {"-2x=18", 70}, {"x=ﾀ18/-2ﾀ", 70}, {"x=-9", 70}}},
     }},
    {Column{640, 721},
     {
         AnswerBlock{"(5)", 30, {"6x-11=7", {"6x=7+11", 50}, {"6x=18", 50}, {"x=ﾀ18/6ﾀ", 70}, {"x=3", 70}}},
         AnswerBlock{"(6)", plus(60),
                     {"6-2x=12", {"-2x=12-6", 50}, {"-2x=6", 50}, {"x=ﾀ6/-2ﾀ", 70}, {"x=-3", 70}}, key},
     }},
};

const AnswerScreen kSet1Screen2 = {
    {Column{40, 121},
     {
         AnswerBlock{"(7)", plus(60), {"4x-9=3x-15", {"4x-3x=-15+9", 50}, {"x=-6", 70}}},
         AnswerBlock{"(8)", plus(60),
                     {"x-17=-7-3x", {"x+3x=-7+17", 50}, {"4x=10", 50}, {"x=ﾀ10/4ﾀ", 70}, {"x=ﾀ5/2ﾀ", 70}}},
     }},
    {Column{640, 721},
     {
         AnswerBlock{"(9)", 30,
                     {"9x-70=6x+80", {"9x-6x=80+70", 50}, {"3x=150", 50}, {"x=ﾀ150/3ﾀ", 70}, {"x=50", 70}}},
         AnswerBlock{"(10)", plus(60),
                     {" 8+4x=10x+16", {"4x-10x=16-8", 50}, {"-6x=8", 50}, {"x=ﾀ8/-6ﾀ", 70}, {"x=-ﾀ4/3ﾀ", 70}},
                     key},
     }},
};

// Two-digit labels: the steps stand 108 in.
const AnswerScreen kSet1Screen3 = {
    {Column{40, 148},
     {
         AnswerBlock{"(11)", 30,
                     {"3x-1200=1200+9x",
                      {"3x-9x=1200+1200", 50},
                      {"-6x=2400", 50},
                      {"x=ﾀ2400/-6ﾀ", 70},
                      {"x=-400", 70}}},
         AnswerBlock{"(12)", plus(60),
                     {"-18+5x=12x-18", {"5x-12x=-18+18", 50}, {"-7x=0", 50}, {"x=ﾀ0/-7ﾀ", 70}, {"x=0", 70}}},
     }},
};

// ---- Set 2: brackets, decimals and fractions ------------------------------

const AnswerScreen kSet2Screen1 = {
    {Column{40, 121},
     {
         AnswerBlock{"(1)", plus(60), {"2(x+1)=x+3", {"2x+2=x+3", 50}, {"2x-x=3-2", 50}, {"x=1", 70}}},
         AnswerBlock{"(2)", plus(60),
                     {"3(x-8)=9(4-x)",
                      {"3x-24=36-9x", 50},
                      {"3x+9x=36+24", 50},
                      {"12x=60", 50},
                      {"x=ﾀ60/12ﾀ", 70},
                      {"x=5", 70}}},
     }},
    {Column{640, 721},
     {
         AnswerBlock{"(3)", 30,
                     {"-3(2x-4)=5(x-2)",
                      {"-6x+12=5x-10", 50},
                      {"-6x-5x=-10-12", 50},
                      {"-11x=-22", 50},
                      {"x=ﾀ-22/-11ﾀ", 70},
                      {"x=2", afterPlus(60), same}}},
         AnswerBlock{"(4)", plus(60),
                     {"80-30(x-5)=110",
                      {"80-30x+150=110", 50},
                      {"-30x=110-80-150", 50},
                      {"-30x=-120", 50},
                      {"x=ﾀ-120/-30ﾀ", 70},
                      {"x=4", afterPlus(60), same}},
                     key},
     }},
};

// (5) breaks its first multiplied equation over two rows.
const AnswerScreen kSet2Screen2 = {
    {Column{40, 121},
     {
         AnswerBlock{"(5)", 30,
                     {"0.1x=0.4(x-2)-0.1",
                      {"10*0.1x=", 50},
                      {"  10*0.4(x-2)-10*0.1", 50},
                      {"x=4(x-2)-1", 50},
                      {"x=4x-8-1", 50},
                      {"x-4x=-8-1", 50},
                      {"-3x=-9", 50},
                      {"x=ﾀ-9/-3ﾀ", 70},
                      {"x=3", 70}}},
     }},
    {Column{640, 721},
     {
         AnswerBlock{"(6)", 30,
                     {"ﾀ1/4ﾀx-1=ﾀ1/2ﾀx",
                      {"4*ﾀ1/4ﾀx+4*(-1)=4*ﾀ1/2ﾀx", 70},
                      {"x-4=2x", 70},
                      {"x-2x=4", 70},
                      {"-x=4", 70},
                      {"x=ﾀ4/-1ﾀ", 70},
                      {"x=-4", 70}},
                     key},
     }},
};

// (8) breaks its multiplied equation over two rows.
const AnswerScreen kSet2Screen3 = {
    {Column{40, 121},
     {
         AnswerBlock{"(7)", 30,
                     {"ﾀ2x-7/3ﾀ=ﾀx+1/2ﾀ",
                      {"6*ﾀ2x-7/3ﾀ=6*ﾀx+1/2ﾀ", 70},
                      {"2(2x-7)=3(x+1)", 70},
                      {"4x-14=3x+3", 70},
                      {"4x-3x=3+14", 70},
                      {"x=17", 70}}},
     }},
    {Column{640, 721},
     {
         AnswerBlock{"(8)", 30,
                     {"5+ﾀ3/100ﾀx=ﾀ7/100ﾀx",
                      {"100*5+100*ﾀ3/100ﾀx", 70},
                      {"       =100*ﾀ7/100ﾀx", 70},
                      {"500+3x=7x", 70},
                      {"3x-7x=-500", 70},
                      {"-4x=-500", 70},
                      {"x=ﾀ-500/-4ﾀ", 70},
                      {"x=125", 70}}},
     }},
};

void set1(Engine& e) { runSheet(e, exerciseHeading(kTitle), {{"1", {}, kSet1Screen1}, {"", {}, kSet1Screen2}, {"", {}, kSet1Screen3}}); }
void set2(Engine& e) { runSheet(e, exerciseHeading(kTitle), {{"2", {}, kSet2Screen1}, {"", {}, kSet2Screen2}, {"", {}, kSet2Screen3}}); }

}  // namespace

void section6(Engine& e) { runSection(e, {{}, "①,②解答　　　③終了", {set1, set2}}); }

}  // namespace solvara
