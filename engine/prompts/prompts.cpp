#include "engine/prompts/prompts.h"

#include "engine/chars/chars.h"
#include "engine/graphics/colour_roles.h"
#include "engine/text/text.h"

namespace lesson {

namespace {

constexpr int kMaxEntry = 10;

// The prompts' geometry in the prompt band. The sub-menu line and the
// any-key text stand on one line; the any-key box and the band a sub-menu
// entry clears begin 9 above it. The step prompt's box stands at the band's
// top; both boxes span the same x.
constexpr float kPromptLineY = 666;
constexpr float kPromptLineTop = 657;
constexpr float kAnyKeyBoxBottom = 693;
constexpr float kStepBoxBottom = 675;
constexpr float kPromptBoxLeft = 96;
constexpr float kPromptBoxRight = 400;
constexpr float kPromptTextX = 128;

bool isEntryKey(const std::string& key) {
    // "-", ".", "/" and the digits lie together in code order.
    return key.size() == 1 && key[0] >= '-' && key[0] <= '9';
}

}  // namespace

void whiteBox(Engine& e, float x, float y, float w, float h) { e.layer.box(x, y, x + w, y + h, kWhite); }

void pageClear(Engine& e, float w, float h) { whiteBox(e, 0, 0, w, h); }

void readEntry(Engine& e) {
    Layer& g = e.layer;
    float cursorX = e.inputX;
    const float cursorY = e.inputY;
    e.entryText.clear();
    drawPlainAt(e, cursorX - 48, cursorY, colour::kBodyText, "入力");
    for (;;) {
        g.circle(cursorX + 8, cursorY + 8, 4, colour::kEntryCursor);
        const std::string key = e.session.inkey();
        if (key.empty()) {
            g.circle(cursorX + 8, cursorY + 8, 4, kWhite);
            continue;
        }
        e.lastKey = key;
        if (key == "\b" || key == kKeypadFiveKey || static_cast<int>(e.entryText.size()) >= kMaxEntry) {
            // Backspace clears the whole entry; so does any key when ten characters stand.
            whiteBox(e, e.inputX, e.inputY - 8, 192, 30);
            e.entryText.clear();
            cursorX = e.inputX;
            continue;
        }
        if (key == "\r") {
            g.circle(cursorX + 8, cursorY + 8, 4, kWhite);
            break;
        }
        if (isEntryKey(key)) {
            g.circle(cursorX + 8, cursorY + 8, 4, kWhite);
            e.textColor = colour::kAnswer;
            e.workText = key;
            e.textX = cursorX;
            e.textY = cursorY;
            drawCharRun(e);
            cursorX = e.runEndX;
            e.entryText += key;
        }
    }
    whiteBox(e, e.inputX - 48, e.inputY - 8, 240, 30);
    e.textColor = e.entryText.empty() ? colour::kBodyText : colour::kAnswer;
}

void entryToNumber(Engine& e) {
    const int slash = charFind(e.entryText, "/");
    if (slash < 0) {
        e.entryValue = textToNumber(e.entryText);
        return;
    }
    const float numerator = textToNumber(charSlice(e.entryText, 0, slash));
    const float denominator = textToNumber(charSlice(e.entryText, slash + 1));
    // A zero or empty denominator selects nothing instead of stopping the lesson.
    e.entryValue = denominator == 0 ? 0 : numerator / denominator;
}

void menuNumberPrompt(Engine& e, const std::vector<TapArea>& choices) {
    e.session.beginWait(WaitKind::MainMenu);
    for (const TapArea& choice : choices) e.session.offerChoice(choice);
    const int n = charCount(e.textString);
    drawPlainAt(e, e.inputX - (n + 5) * 16, e.inputY, colour::kAnswer, e.textString);
    readEntry(e);
    entryToNumber(e);
}

void clearMenuPrompt(Engine& e) { whiteBox(e, e.inputX - 640, e.inputY - 8, 1056, 50); }

void subMenuPrompt(Engine& e, int lastItem) {
    e.session.beginWait(WaitKind::SubMenu, lastItem);
    // The line is drawn a character at a time as drawPlainText draws it; each
    // circled number starts an item, which runs to the next blank or item.
    const std::string line = std::move(e.textString);
    float x = 16;
    float itemX = 0;
    int itemChoice = 0;  // the item the line is in; 0 between items
    auto offer = [&] {
        if (itemChoice != 0) e.session.offerChoice({itemX, kPromptLineY, x, kPromptLineY + 16, itemChoice});
        itemChoice = 0;
    };
    for (std::string_view ch : splitChars(line)) {
        const char32_t c = codePoint(ch);
        const bool circled = c >= U'①' && c <= U'⑳';
        if (circled || c == U'　' || c == U' ') offer();
        if (circled) {
            itemX = x;
            itemChoice = static_cast<int>(c - U'①') + 1;
        }
        drawPlainAt(e, x, kPromptLineY, colour::kBodyText, std::string(ch));
        x = e.textX;
    }
    offer();
    readEntry(e);
    entryToNumber(e);
}

void clearPromptBand(Engine& e) { e.layer.box(0, kPromptLineTop, 992, kPromptBandBottom, kWhite); }

void clearPageArea(Engine& e) { e.layer.box(0, 54, 1440, 900, kWhite); }

void stepPrompt(Engine& e) {
    Layer& g = e.layer;
    e.session.beginWait(WaitKind::Step);
    const float pen = g.drawWidth();
    g.setDrawWidth(2);
    // The box stands at the top of the prompt band, its text on the entry field's line.
    g.box(kPromptBoxLeft, kPromptBandTop, kPromptBoxRight, kStepBoxBottom, colour::kPromptOutline,
          colour::kStepPromptFill);
    drawPlainAt(e, kPromptTextX, kEntryAnchor.y, colour::kPromptText, "次のステップは１を入力。");
    readEntry(e);
    entryToNumber(e);
    whiteBox(e, e.inputX - 48, e.inputY - 9, 160, 27);
    g.box(kPromptBoxLeft, kPromptBandTop, kPromptBoxRight, kStepBoxBottom, kWhite);
    g.setDrawWidth(pen);
}

void anyKeyPrompt(Engine& e) {
    Layer& g = e.layer;
    e.session.beginWait(WaitKind::AnyKey);
    const int color = e.textColor;
    const float pen = g.drawWidth();
    g.setDrawWidth(3);
    g.box(kPromptBoxLeft, kPromptLineTop, kPromptBoxRight, kAnyKeyBoxBottom, colour::kPromptOutline,
          colour::kAnyKeyPromptFill);
    drawPlainAt(e, kPromptTextX, kPromptLineY, colour::kPromptText, "何かキーを押して下さい。");
    std::string key;
    while ((key = e.session.inkey()).empty()) {
    }
    e.lastKey = key;
    g.box(0, kPromptLineTop, kPromptBoxRight, kAnyKeyBoxBottom, kWhite);
    e.textColor = color;
    g.setDrawWidth(pen);
}

void numbersToTexts(Engine& e) {
    for (int i = 1; i <= 80; ++i) e.practiceText(i) = numberText(e.practiceNum(i));
    for (int i = 1; i <= 40; ++i) e.constText(i) = numberText(e.constNum(i));
    for (int i = 0; i <= 20; ++i) {
        e.termText(i) = numberText(e.termNum(i));
        e.markText(i) = numberText(e.markNum(i));
    }
}

void errorScreen(Engine& e, int line, int code) {
    Layer& g = e.layer;
    g.cls();
    const std::string message = numberToText(static_cast<float>(line)) + "," + numberToText(static_cast<float>(code)) +
                                "エラーが発生しました。マウスで×をクリックして下さい。";
    g.text(288, 432, message, 1, 1, colour::kErrorText);
    e.session.idle();
}

}  // namespace lesson
