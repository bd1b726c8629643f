#pragma once
// Keyboard input of the lessons: the entry field and the prompts built on it,
// the press-any-key pause, the blanking routines that remove them, the
// error screen, and number tables turned into texts.

#include "engine/engine.h"

#include <vector>

namespace lesson {

// The entry field at (inputX, inputY): digits, "-", ".", "/"; Backspace (and
// keypad 5 without NumLock) clears it; Enter ends it. Leaves entryText.
void readEntry(Engine& e);
// entryValue of entryText; "a/b" divides, a zero or empty denominator gives 0.
void entryToNumber(Engine& e);
// `choices`: where the menu's items were drawn, for taps.
void menuNumberPrompt(Engine& e, const std::vector<TapArea>& choices = {});
void clearMenuPrompt(Engine& e);
// The sub-menu line (textString) at the bottom of the page, then a number;
// lastItem is the number of its last item, the one that goes back. A tap on
// an item of the line (its circled number and its name) chooses it.
void subMenuPrompt(Engine& e, int lastItem);
void clearPromptBand(Engine& e);
// "次のステップは１を入力。" and a number: 1 goes on, anything else makes a new problem.
void stepPrompt(Engine& e);
// "何かキーを押して下さい。" until any key comes.
void anyKeyPrompt(Engine& e);
void clearPageArea(Engine& e);
// practiceText, constText, termText, markText from their number tables.
void numbersToTexts(Engine& e);
// Blank page, the error line, and idle until the window is closed.
void errorScreen(Engine& e, int line, int code);

// A white box (filled in its line colour) from (x, y), w wide and h high.
void whiteBox(Engine& e, float x, float y, float w, float h);

// The page clears: a white box from the page's corner, well past its far
// edges, wipes everything on the page, the prompt band included. Most pages
// begin with the common one; the main menu, the answer sheets and a few
// whole-screen pages with the taller one.
inline constexpr float kPageClearWidth = 1760;
inline constexpr float kPageClearHeight = 1300;
inline constexpr float kTallPageClearHeight = 1800;
// A white box from (0, 0), w right and h down: the common page clear unless given.
void pageClear(Engine& e, float w = kPageClearWidth, float h = kPageClearHeight);

}  // namespace lesson
