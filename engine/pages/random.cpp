#include "engine/pages/random.h"

#include <algorithm>
#include <cmath>

namespace lesson {

int randomIn(Engine& e, int low, int high) {
    const int k = static_cast<int>(std::floor(e.rnd() * static_cast<float>(high - low + 1))) + low;
    return std::min(k, high);  // a product rounded up to the next whole number stays in range
}

void setPickList(Engine& e, std::initializer_list<float> values) {
    e.pickList.clear();
    int i = 1;
    for (float v : values) e.pickList(i++) = v;
}

float drawPick(Engine& e, int first, int last) {
    const int k = randomIn(e, first, last);
    const float value = e.pickList(k);
    const int bound = e.pickList.bound();
    for (int i = k; i < bound; ++i) e.pickList(i) = e.pickList(i + 1);
    e.pickList(bound) = 0;
    return value;
}

}  // namespace lesson
