#include "lessons_a/sections.h"

namespace solvara {

lesson::ProgramSpec program() {
    return {"solvara",
            "Solvara",
            {
                {"1　方程式とその解", 44, 120, 13, section1},
                {"2　等式の性質", 44, 180, 15, section2},
                {"3　P91(練習問題)", 44, 240, 13, section3},
                {"4　方程式の解き方", 44, 300, 15, section4},
                {"5　いろいろな方程式", 44, 360, 13, section5},
                {"6　P96(練習問題)", 44, 420, 15, section6},
                {"7　", 44, 480, 13, nullptr},
                {"8　終了", 44, 540, 15, nullptr},
            }};
}

}  // namespace solvara
