#pragma once
// Random numbers of the drills: a whole number from a range, and a candidate
// list drawn without replacement, held in pickList(1..).

#include "engine/engine.h"

#include <initializer_list>

namespace lesson {

// INT(RND * (high - low + 1)) + low: uniform over low..high.
int randomIn(Engine& e, int low, int high);

// pickList(1), pickList(2), ... := values; the entries after them are 0.
void setPickList(Engine& e, std::initializer_list<float> values);

// A uniformly chosen position k in first..last: returns pickList(k) and
// removes it, the later entries moving down one place.
float drawPick(Engine& e, int first, int last);

}  // namespace lesson
