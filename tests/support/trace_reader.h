#pragma once
// Reads a JSON Lines trace back into events for assertions.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<Json> array;
    std::map<std::string, Json> object;
};

// Parses one JSON value; throws std::runtime_error on malformed input.
Json parseJson(std::string_view text);

struct Event {
    Json json;
    std::string op() const { return str("op"); }
    bool has(const std::string& key) const { return json.object.count(key) != 0; }
    double num(const std::string& key) const;
    std::string str(const std::string& key) const;
    bool flag(const std::string& key) const;
    bool isNull(const std::string& key) const;
    const Json& at(const std::string& key) const;
};

std::vector<Event> readTrace(const std::string& path);

// The events of one kind ("text", "box", ...), in order.
std::vector<Event> ofOp(const std::vector<Event>& events, const std::string& op);

}  // namespace testing_support
