// Plain text on the 16-unit grid, the conversion tables, reduced fractions
// and numbers as texts.

#include "engine/text/text.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

using namespace lesson;
using testing_support::EngineFixture;
using testing_support::Event;

namespace {

std::vector<Event> textsOf(EngineFixture& f) { return testing_support::ofOp(f.events(), "text"); }

std::string reduced(Engine& e, float n, float d) {
    e.fracNum = n;
    e.fracDen = d;
    reduceFraction(e);
    return e.fracText;
}

}  // namespace

TEST(Text, ReduceFractionCases) {
    EngineFixture f;
    Engine& e = f.engine();
    EXPECT_EQ(reduced(e, 4, -6), "-ﾀ2/3ﾀ");
    EXPECT_EQ(e.fracNum, -2);
    EXPECT_EQ(e.fracDen, 3);
    EXPECT_EQ(reduced(e, 6, 3), "2");
    EXPECT_EQ(reduced(e, 0, 5), "0");
    EXPECT_EQ(reduced(e, -3, 1), "-3");
    EXPECT_EQ(reduced(e, 2, 3), "ﾀ2/3ﾀ");
    EXPECT_EQ(reduced(e, -6, -3), "2");
    EXPECT_EQ(reduced(e, 66, 8), "ﾀ33/4ﾀ");
    EXPECT_EQ(reduced(e, 9, 6), "ﾀ3/2ﾀ");
}

TEST(Text, DecimalPointIsTuckedIntoTheGap) {
    EngineFixture f;
    Engine& e = f.engine();
    e.textX = 100;
    e.textY = 300;
    e.textColor = 5;
    e.textString = "0.5";
    drawPlainText(e);
    auto texts = textsOf(f);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].str("text"), "０");
    EXPECT_EQ(texts[0].num("x"), 100);
    EXPECT_EQ(texts[1].str("text"), "．");
    EXPECT_EQ(texts[1].num("x"), 112);
    EXPECT_EQ(texts[2].str("text"), "５");
    EXPECT_EQ(texts[2].num("x"), 116);
    EXPECT_EQ(e.textX, 132);
    EXPECT_TRUE(e.textString.empty());
}

TEST(Text, ConversionTablesAndRaisedSingleByteCharacters) {
    EngineFixture f;
    Engine& e = f.engine();
    e.textX = 0;
    e.textY = 100;
    e.textString = "xAzﾀ=* 3^2";
    drawPlainText(e);
    auto texts = textsOf(f);
    std::vector<std::string> shown;
    for (const Event& t : texts) shown.push_back(t.str("text"));
    EXPECT_EQ(shown, (std::vector<std::string>{"χ", "Α", "z", "―", "＝", "×", "３", "2"}));
    // Unconverted single-byte characters (z, an exponent) stand 4 units higher.
    EXPECT_EQ(texts[2].num("y"), 96);
    EXPECT_EQ(texts[7].num("y"), 96);
    EXPECT_EQ(texts[0].num("y"), 100);
    // A blank draws nothing and takes no room: 8 characters, 16 units each.
    EXPECT_EQ(e.textX, 8 * 16);
}

TEST(Text, StripSpacesKeepsFullWidthBlank) {
    EngineFixture f;
    Engine& e = f.engine();
    e.workText = " a b　c ";
    stripSpaces(e);
    EXPECT_EQ(e.workText, "ab　c");
}

TEST(Text, NumbersAsTexts) {
    EXPECT_EQ(numberToText(5), " 5");
    EXPECT_EQ(numberToText(-5), "-5");
    EXPECT_EQ(numberToText(0), " 0");
    EXPECT_EQ(numberText(0.3f), ".3");
    EXPECT_EQ(numberText(-0.5f), "-.5");
    EXPECT_EQ(numberText(1.2f), "1.2");
    EXPECT_EQ(numberText(2400), "2400");
    EXPECT_EQ(numberText(-0.0f), "0");
    EXPECT_EQ(textToNumber(""), 0);
    EXPECT_EQ(textToNumber("-12.5x"), -12.5f);
    EXPECT_EQ(textToNumber("--3"), 0);
    EXPECT_EQ(textToNumber(".5"), 0.5f);
}
