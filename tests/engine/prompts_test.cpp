// The entry field and the prompts, driven by scripted keys.

#include "engine/prompts/prompts.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

using namespace lesson;
using testing_support::EngineFixture;
using testing_support::Event;
using testing_support::ofOp;

namespace {


struct Entry {
    std::string text;
    float value;
    int color;
};

Entry enter(const std::string& keys) {
    EngineFixture f(keys);
    Engine& e = f.engine();
    readEntry(e);
    entryToNumber(e);
    return {e.entryText, e.entryValue, e.textColor};
}

}  // namespace

TEST(Entry, EnterAloneGivesZero) {
    const Entry r = enter("\\n");
    EXPECT_EQ(r.text, "");
    EXPECT_EQ(r.value, 0);
    EXPECT_EQ(r.color, 0);
}

TEST(Entry, NumbersAndFractions) {
    EXPECT_EQ(enter("12\\n").value, 12);
    EXPECT_EQ(enter("3/4\\n").value, 0.75f);
    EXPECT_EQ(enter("-6/3\\n").value, -2);
    EXPECT_EQ(enter("16/2\\n").value, 8);
    EXPECT_EQ(enter("12\\n").color, 5);
}

TEST(Entry, ZeroOrEmptyDenominatorGivesZeroInsteadOfAnError) {
    EXPECT_EQ(enter("1/0\\n").value, 0);
    EXPECT_EQ(enter("3/\\n").value, 0);
    EXPECT_EQ(enter("/\\n").value, 0);
}

TEST(Entry, BackspaceAndKeypadFiveClearTheWholeEntry) {
    EXPECT_EQ(enter("12\\b3\\n").text, "3");
    EXPECT_EQ(enter("45\x0c" "6\\n").text, "6");
}

TEST(Entry, AKeyWithTenCharactersStandingClearsTheEntry) {
    // Enter after ten characters clears them and the field waits again.
    const Entry r = enter("1234567890\\n5\\n");
    EXPECT_EQ(r.text, "5");
    EXPECT_EQ(enter("123456789\\n").text, "123456789");
}

TEST(Entry, LettersAndOtherKeysAreIgnored) {
    EXPECT_EQ(enter("a1+b2 \\n").text, "12");
}

TEST(Entry, DecimalIsShownInFullWidthAndRead) {
    EngineFixture f("2.5\\n");
    Engine& e = f.engine();
    readEntry(e);
    entryToNumber(e);
    EXPECT_EQ(e.entryValue, 2.5f);
    std::vector<Event> typed;
    for (const Event& t : ofOp(f.events(), "text"))
        if (t.num("color") == 5) typed.push_back(t);
    ASSERT_EQ(typed.size(), 3u);
    EXPECT_EQ(typed[0].str("text"), "２");
    EXPECT_EQ(typed[0].num("x"), kEntryAnchor.x);
    EXPECT_EQ(typed[1].str("text"), "．");
    EXPECT_EQ(typed[1].num("x"), kEntryAnchor.x + 12);
    EXPECT_EQ(typed[2].str("text"), "５");
    EXPECT_EQ(typed[2].num("x"), kEntryAnchor.x + 16);
    // The label and the typed characters are blanked when Enter comes.
    auto boxes = ofOp(f.events(), "box");
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().num("x1"), kEntryAnchor.x - 48);
    EXPECT_EQ(boxes.back().num("x2"), kEntryAnchor.x - 48 + 240);
    EXPECT_EQ(boxes.back().num("fill"), 15);
}

TEST(Prompts, AnyKeyEndsOnALetterAndRestoresColourAndPen) {
    EngineFixture f("q");
    Engine& e = f.engine();
    e.textColor = 7;
    f.layer().setDrawWidth(10);
    anyKeyPrompt(e);
    EXPECT_EQ(e.lastKey, "q");
    EXPECT_EQ(e.textColor, 7);
    EXPECT_EQ(f.layer().drawWidth(), 10);
    auto events = f.events();
    auto boxes = ofOp(events, "box");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].num("fill"), 4);
    EXPECT_EQ(boxes[0].num("pen"), 3);
    EXPECT_EQ(boxes[1].num("x1"), 0);
    EXPECT_EQ(boxes[1].num("fill"), 15);
    EXPECT_EQ(ofOp(events, "key").size(), 1u);
}

TEST(Prompts, StepPromptReadsANumberAndBlanksItsBox) {
    EngineFixture f("1\\n");
    Engine& e = f.engine();
    f.layer().setDrawWidth(5);
    stepPrompt(e);
    EXPECT_EQ(e.entryValue, 1);
    EXPECT_EQ(f.layer().drawWidth(), 5);
    auto boxes = ofOp(f.events(), "box");
    ASSERT_GE(boxes.size(), 3u);
    EXPECT_EQ(boxes.front().num("fill"), 12);
    EXPECT_EQ(boxes.front().num("pen"), 2);
    EXPECT_EQ(boxes.back().num("x1"), 96);
    EXPECT_EQ(boxes.back().num("fill"), 15);
}

TEST(Prompts, UsedUpKeysEndTheRunAtTheNextWait) {
    EngineFixture f("");
    EXPECT_THROW(anyKeyPrompt(f.engine()), ProgramEnd);
}

TEST(Prompts, NumbersToTextsConvertsTheRanges) {
    EngineFixture f;
    Engine& e = f.engine();
    e.practiceNum(1) = -3;
    e.practiceNum(80) = 0.5f;
    e.constNum(40) = 12;
    e.termNum(0) = 7;
    e.termNum(21) = 9;  // beyond the converted range
    e.markNum(20) = -0.25f;
    numbersToTexts(e);
    EXPECT_EQ(e.practiceText(1), "-3");
    EXPECT_EQ(e.practiceText(80), ".5");
    EXPECT_EQ(e.constText(40), "12");
    EXPECT_EQ(e.termText(0), "7");
    EXPECT_EQ(e.markText(20), "-.25");
    EXPECT_EQ(e.practiceText(0), "");
}
