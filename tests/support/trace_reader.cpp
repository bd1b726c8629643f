#include "tests/support/trace_reader.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace testing_support {

namespace {

class Parser {
public:
    explicit Parser(std::string_view t) : t_(t) {}
    Json value() {
        skip();
        if (i_ >= t_.size()) fail();
        const char c = t_[i_];
        if (c == '{') return object();
        if (c == '[') return array();
        if (c == '"') {
            Json j;
            j.kind = Json::Kind::String;
            j.string = string();
            return j;
        }
        if (t_.substr(i_, 4) == "null") {
            i_ += 4;
            return {};
        }
        if (t_.substr(i_, 4) == "true") {
            i_ += 4;
            Json j;
            j.kind = Json::Kind::Bool;
            j.boolean = true;
            return j;
        }
        if (t_.substr(i_, 5) == "false") {
            i_ += 5;
            Json j;
            j.kind = Json::Kind::Bool;
            return j;
        }
        return number();
    }
    void end() {
        skip();
        if (i_ != t_.size()) fail();
    }

private:
    [[noreturn]] void fail() { throw std::runtime_error("bad JSON: " + std::string(t_)); }
    void skip() {
        while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\t' || t_[i_] == '\r' || t_[i_] == '\n')) ++i_;
    }
    void expect(char c) {
        skip();
        if (i_ >= t_.size() || t_[i_] != c) fail();
        ++i_;
    }
    Json object() {
        Json j;
        j.kind = Json::Kind::Object;
        expect('{');
        skip();
        if (i_ < t_.size() && t_[i_] == '}') {
            ++i_;
            return j;
        }
        for (;;) {
            skip();
            std::string key = string();
            expect(':');
            j.object[key] = value();
            skip();
            if (i_ < t_.size() && t_[i_] == ',') {
                ++i_;
                continue;
            }
            expect('}');
            return j;
        }
    }
    Json array() {
        Json j;
        j.kind = Json::Kind::Array;
        expect('[');
        skip();
        if (i_ < t_.size() && t_[i_] == ']') {
            ++i_;
            return j;
        }
        for (;;) {
            j.array.push_back(value());
            skip();
            if (i_ < t_.size() && t_[i_] == ',') {
                ++i_;
                continue;
            }
            expect(']');
            return j;
        }
    }
    std::string string() {
        if (i_ >= t_.size() || t_[i_] != '"') fail();
        ++i_;
        std::string out;
        while (i_ < t_.size() && t_[i_] != '"') {
            char c = t_[i_++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (i_ >= t_.size()) fail();
            c = t_[i_++];
            switch (c) {
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 'b': out += '\b'; break;
                case 't': out += '\t'; break;
                case 'f': out += '\f'; break;
                case 'u': {
                    if (i_ + 4 > t_.size()) fail();
                    const unsigned code = std::strtoul(std::string(t_.substr(i_, 4)).c_str(), nullptr, 16);
                    i_ += 4;
                    if (code < 0x80) {
                        out += static_cast<char>(code);
                    } else if (code < 0x800) {
                        out += static_cast<char>(0xC0 | (code >> 6));
                        out += static_cast<char>(0x80 | (code & 0x3F));
                    } else {
                        out += static_cast<char>(0xE0 | (code >> 12));
                        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                        out += static_cast<char>(0x80 | (code & 0x3F));
                    }
                    break;
                }
                default: out += c;
            }
        }
        if (i_ >= t_.size()) fail();
        ++i_;
        return out;
    }
    Json number() {
        const std::size_t start = i_;
        while (i_ < t_.size() && (std::isdigit(static_cast<unsigned char>(t_[i_])) || t_[i_] == '-' ||
                                  t_[i_] == '+' || t_[i_] == '.' || t_[i_] == 'e' || t_[i_] == 'E'))
            ++i_;
        if (start == i_) fail();
        Json j;
        j.kind = Json::Kind::Number;
        j.number = std::strtod(std::string(t_.substr(start, i_ - start)).c_str(), nullptr);
        return j;
    }

    std::string_view t_;
    std::size_t i_ = 0;
};

}  // namespace

Json parseJson(std::string_view text) {
    Parser p(text);
    Json j = p.value();
    p.end();
    return j;
}

const Json& Event::at(const std::string& key) const {
    auto it = json.object.find(key);
    if (it == json.object.end()) throw std::runtime_error("trace event has no " + key);
    return it->second;
}
double Event::num(const std::string& key) const { return at(key).number; }
std::string Event::str(const std::string& key) const { return at(key).string; }
bool Event::flag(const std::string& key) const { return at(key).boolean; }
bool Event::isNull(const std::string& key) const { return at(key).kind == Json::Kind::Null; }

std::vector<Event> ofOp(const std::vector<Event>& events, const std::string& op) {
    std::vector<Event> out;
    for (const Event& e : events)
        if (e.op() == op) out.push_back(e);
    return out;
}

std::vector<Event> readTrace(const std::string& path) {
    std::ifstream in(path);
    std::vector<Event> events;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        events.push_back({parseJson(line)});
    }
    return events;
}

}  // namespace testing_support
