#include "lessons_b/sections.h"

namespace ratiora {

lesson::ProgramSpec program() {
    return {"ratiora",
            "Ratiora",
            {
                {"1　比例式", 44, 120, 13, section1},
                {"2　導入、手順", 44, 180, 15, section2},
                {"3　代金の問題", 44, 240, 13, section3},
                {"4　過不足", 44, 300, 15, section4},
                {"5　速さ、時間、道のり", 44, 360, 13, section5},
                {"6　比例式の利用", 44, 420, 15, section6},
                {"7　P108(学びをたしかめよう)", 44, 480, 13, section7},
                {"8　P110(学びを身につけよう)", 44, 540, 15, section8},
                {"9　終了", 704, 120, 13, nullptr},
            }};
}

}  // namespace ratiora
