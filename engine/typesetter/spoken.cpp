#include "engine/typesetter/spoken.h"

#include "engine/chars/chars.h"
#include "engine/graphics/display_list.h"
#include "engine/graphics/program_run.h"

#include <algorithm>
#include <array>
#include <optional>

namespace lesson {

namespace {

using Chars = std::vector<std::string_view>;

// What is said, word by word: a sign or a relation stands apart ("4エックス
// マイナス 15"), the parts of a term and a lesson's own words are joined.
struct Voice {
    std::string said;
    bool apart = false;  // the next part starts a new word

    void word(std::string_view w) {
        if (!said.empty() && said.back() != ' ') said += ' ';
        said += w;
        apart = true;
    }
    void join(std::string_view s) {
        if (apart && !said.empty() && said.back() != ' ') said += ' ';
        apart = false;
        said += s;
    }
    void pause() { apart = true; }
};

// The markup's signs and the units the lessons draw, as they are said: a
// word of its own, or joined to what comes before ("90度", "152グラム").
struct Reading {
    std::string_view mark;
    std::string_view said;
    bool word;
};
// clang-format off
constexpr Reading kReadings[] = {
    {"+", "プラス", true},         {"-", "マイナス", true},       {"−", "マイナス", true},
    {"=", "イコール", true},       {"≠", "ノットイコール", true},
    {"*", "かける", true},         {"×", "かける", true},         {"/", "わる", true},     {"÷", "わる", true},
    {"@", "プラスマイナス", true}, {"±", "プラスマイナス", true},
    {"%", "度", false},            {"°", "度", false},            {":", "たい", true},
    {"!", "ルート", true},         {"√", "ルート", true},         {"#", "ルート", true},
    {"&", "平行四辺形", true},     {"＃", "平行四辺形", true},     {"'", "ダッシュ", false},
    {"(", "かっこ", true},         {")", "かっことじ", true},
    // Units, the longer first.
    {"km", "キロメートル", false}, {"mL", "ミリリットル", false}, {"m", "メートル", false},
    {"g", "グラム", false},        {"L", "リットル", false},      {"l", "リットル", false}, {"ℓ", "リットル", false},
};
// The letters' names, a to z (upper case alike).
constexpr std::array<std::string_view, 26> kLetters = {
    "エー", "ビー", "シー", "ディー", "イー", "エフ", "ジー", "エイチ", "アイ", "ジェー", "ケー", "エル", "エム",
    "エヌ", "オー", "ピー", "キュー", "アール", "エス", "ティー", "ユー", "ブイ", "ダブリュー", "エックス", "ワイ", "ゼット",
};
// clang-format on

bool isDigit(std::string_view c) { return c.size() == 1 && c[0] >= '0' && c[0] <= '9'; }
bool isUpper(std::string_view c) { return c.size() == 1 && c[0] >= 'A' && c[0] <= 'Z'; }
bool isLower(std::string_view c) { return c.size() == 1 && c[0] >= 'a' && c[0] <= 'z'; }
// Japanese text: kana and kanji, the full-width punctuation among them.
bool isJapanese(std::string_view c) {
    const char32_t cp = codePoint(c);
    return cp >= 0x3000 && cp <= 0x9FFF;
}

std::string_view letterName(std::string_view c) {
    if (isLower(c)) return kLetters[c[0] - 'a'];
    if (isUpper(c)) return kLetters[c[0] - 'A'];
    return c;
}

// The reading whose mark starts at chars[i] and ends by chars[end], or nothing.
const Reading* readingAt(const Chars& chars, std::size_t i, std::size_t end) {
    const char* stop = end < chars.size() ? chars[end].data() : chars.back().data() + chars.back().size();
    const std::string_view rest(chars[i].data(), static_cast<std::size_t>(stop - chars[i].data()));
    for (const Reading& r : kReadings)
        if (rest.starts_with(r.mark)) return &r;
    return nullptr;
}

std::optional<std::size_t> find(const Chars& chars, std::string_view c, std::size_t from, std::size_t end) {
    for (std::size_t i = from; i < end; ++i)
        if (chars[i] == c) return i;
    return std::nullopt;
}

// Brackets around the lessons' own words ("P91(練習問題)") are kept as
// they are; brackets in a formula are said.
std::vector<bool> keptBrackets(const Chars& chars) {
    std::vector<bool> kept(chars.size(), false);
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (chars[i] == "(") {
            open.push_back(i);
        } else if (chars[i] == ")" && !open.empty()) {
            const std::size_t from = open.back();
            open.pop_back();
            for (std::size_t k = from + 1; k < i; ++k)
                if (isJapanese(chars[k])) kept[from] = kept[i] = true;
        }
    }
    return kept;
}

void read(Voice& v, const Chars& chars, const std::vector<bool>& kept, std::size_t from, std::size_t end) {
    for (std::size_t i = from; i < end;) {
        const std::string_view c = chars[i];
        if (c == "ﾀ") {
            // A fraction, the denominator said first; a bracket without its
            // partner draws nothing and says nothing.
            const std::optional<std::size_t> close = find(chars, "ﾀ", i + 1, end);
            if (!close) {
                ++i;
                continue;
            }
            v.pause();  // "4ﾀ1/2ﾀ" is 4 and a half, "4 2ぶんの1"
            if (const std::optional<std::size_t> bar = find(chars, "/", i + 1, *close)) {
                read(v, chars, kept, *bar + 1, *close);
                v.join("ぶんの");
                read(v, chars, kept, i + 1, *bar);
            } else {
                read(v, chars, kept, i + 1, *close);
            }
            i = *close + 1;
        } else if (c == "^") {
            // "x^2": エックスの 2 じょう.
            if (i + 1 < end) {
                v.join("の");
                v.word(letterName(chars[i + 1]));
                v.word("じょう");
            }
            i += 2;
        } else if (c == "\\") {
            ++i;  // the next character drawn small: said as it is
        } else if (c == "ﾝ" || c == " " || c == "　") {
            v.pause();
            ++i;
        } else if ((c == "(" || c == ")") && kept[i]) {
            v.join(c);
            ++i;
        } else if (c == "P" && i + 1 < end && isDigit(chars[i + 1])) {
            // A textbook's page, "P91": 91ページ.
            std::size_t j = i + 1;
            std::string page;
            while (j < end && isDigit(chars[j])) page += chars[j++];
            v.join(page + "ページ");
            i = j;
        } else if (isUpper(c) && i + 2 < end && isLower(chars[i + 1]) && isLower(chars[i + 2])) {
            // A name ("Solvara") is said as it is written.
            std::size_t j = i + 1;
            std::string name(c);
            while (j < end && isLower(chars[j])) name += chars[j++];
            v.join(name);
            i = j;
        } else if (const Reading* r = readingAt(chars, i, end)) {
            if (r->word) v.word(r->said);
            else v.join(r->said);
            i += static_cast<std::size_t>(charCount(r->mark));
        } else {
            // A letter by its name; anything else (digits, the lessons' words)
            // as it is, character by character.
            v.join(letterName(c));
            ++i;
        }
    }
}

template <typename Said>
std::string joined(const std::vector<Said>& parts) {
    std::string out;
    for (const Said& p : parts) out += (out.empty() ? "" : " ") + p.text;
    return out;
}

// So many waits back are told again as they were; further back, a wait is
// told with nothing.
constexpr std::size_t kToldKept = 256;

}  // namespace

std::string spokenFormula(std::string_view markup) {
    const Chars chars = splitChars(markup);
    Voice v;
    read(v, chars, keptBrackets(chars), 0, chars.size());
    while (!v.said.empty() && v.said.back() == ' ') v.said.pop_back();
    return v.said;
}

void SpokenSteps::clear() {
    glyphs_.clear();
    step_.clear();
    page_.clear();
}

void SpokenSteps::draw(const DrawCommand& cmd) {
    if (cmd.op == DrawCommand::Op::Cls) {
        clear();
    } else if (cmd.op == DrawCommand::Op::Text) {
        glyphs_.push_back({cmd.x1, cmd.y1, cmd.color, cmd.text});
    } else if (cmd.op == DrawCommand::Op::Box && drawnInWhite(cmd) && run_.layer().page().blankAbove()) {
        clear();  // the page wiped whole
    } else if (cmd.op == DrawCommand::Op::Box) {
        coveredBy(cmd);
    }
}

// A box is drawn opaque: what begins under it is no longer on the page.
void SpokenSteps::coveredBy(const DrawCommand& box) {
    const float x0 = std::min(box.x1, box.x2), x1 = std::max(box.x1, box.x2);
    const float y0 = std::min(box.y1, box.y2), y1 = std::max(box.y1, box.y2);
    auto under = [&](const auto& part) { return part.x >= x0 && part.x <= x1 && part.y >= y0 && part.y <= y1; };
    std::erase_if(glyphs_, under);
    std::erase_if(page_, under);
}

void SpokenSteps::formula(std::string_view text, float x, float y, int color, float end) {
    // A formula's glyphs come just before it, within its line (a fraction's
    // parts above and below it, a glyph a little left of its cell): they are
    // the formula's, said by its markup. What was drawn before is plain text.
    constexpr float kLeft = 8, kAboveBelow = 48;
    while (!glyphs_.empty() && glyphs_.back().x >= x - kLeft && glyphs_.back().x <= end &&
           glyphs_.back().y >= y - kAboveBelow && glyphs_.back().y <= y + kAboveBelow)
        glyphs_.pop_back();
    takeGlyphs();
    say(spokenFormula(text), color, x, y);
}

void SpokenSteps::takeGlyphs() {
    // Plain text, a run of one colour at a time.
    std::string run;
    int color = 0;
    float x = 0, y = 0;  // where the run begins
    for (const Glyph& g : glyphs_) {
        if (!run.empty() && g.color != color) {
            say(run, color, x, y);
            run.clear();
        }
        if (run.empty()) x = g.x, y = g.y;
        color = g.color;
        run += g.text;
    }
    if (!run.empty()) say(std::move(run), color, x, y);
    glyphs_.clear();
}

void SpokenSteps::say(std::string text, int color, float x, float y) {
    if (text.empty()) return;
    if (color == kWhite) {
        // Drawn again in the page's white: erased, when the page holds it
        // (else it is white text on a fill, the menu's title).
        auto erase = [&](std::vector<Said>& said) {
            for (auto it = said.rbegin(); it != said.rend(); ++it)
                if (it->text == text) {
                    said.erase(std::next(it).base());
                    return true;
                }
            return false;
        };
        if (erase(page_)) {
            erase(step_);
            return;
        }
    }
    step_.push_back({text, x, y});
    page_.push_back({std::move(text), x, y});
}

void SpokenSteps::keyRead() {
    takeGlyphs();
    step_.clear();
}

void SpokenSteps::wait(std::string_view) {
    takeGlyphs();
    const std::size_t index = run_.session().waitsBegun() - 1;
    std::string step;
    if (index < firstTold_ + told_.size()) {
        // The wait a step back went to: its page was drawn off the stream.
        if (index >= firstTold_) {
            told_.resize(index - firstTold_ + 1);
            step = told_.back().step;
            page_ = told_.back().page;
        } else {
            told_.clear();
            firstTold_ = index + 1;
            page_.clear();
        }
        step_.clear();
    } else {
        step = joined(step_);
        told_.push_back({step, page_});
        if (told_.size() > kToldKept) {
            told_.pop_front();
            ++firstTold_;
        }
    }
    run_.speakStep(step, joined(page_));
}

}  // namespace lesson
