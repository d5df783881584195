#include "support/json_value.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

struct JsonParser {
  const std::string& s;
  size_t i = 0;

  void SkipSpace() {
    while (i < s.size() && std::isspace((unsigned char)s[i])) ++i;
  }

  bool Literal(const char* word) {
    size_t n = std::strlen(word);
    if (s.compare(i, n, word) != 0) return false;
    i += n;
    return true;
  }

  bool ParseString(std::string& out) {
    if (i >= s.size() || s[i] != '"') return false;
    ++i;
    while (i < s.size() && s[i] != '"') {
      if (s[i] == '\\' && i + 1 < s.size()) {
        char e = s[++i];
        out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
      } else {
        out += s[i];
      }
      ++i;
    }
    if (i >= s.size()) return false;
    ++i;
    return true;
  }

  bool ParseValue(JsonValue& v) {
    SkipSpace();
    if (i >= s.size()) return false;
    char c = s[i];
    if (c == '{') {
      v.kind = JsonValue::Object;
      ++i;
      SkipSpace();
      if (i < s.size() && s[i] == '}') return ++i, true;
      for (;;) {
        SkipSpace();
        std::string key;
        if (!ParseString(key)) return false;
        SkipSpace();
        if (i >= s.size() || s[i++] != ':') return false;
        if (!ParseValue(v.members[key])) return false;
        SkipSpace();
        if (i < s.size() && s[i] == ',') { ++i; continue; }
        if (i < s.size() && s[i] == '}') return ++i, true;
        return false;
      }
    }
    if (c == '[') {
      v.kind = JsonValue::Array;
      ++i;
      SkipSpace();
      if (i < s.size() && s[i] == ']') return ++i, true;
      for (;;) {
        v.items.emplace_back();
        if (!ParseValue(v.items.back())) return false;
        SkipSpace();
        if (i < s.size() && s[i] == ',') { ++i; continue; }
        if (i < s.size() && s[i] == ']') return ++i, true;
        return false;
      }
    }
    if (c == '"') {
      v.kind = JsonValue::String;
      return ParseString(v.text);
    }
    if (Literal("true")) { v.kind = JsonValue::Bool; v.boolean = true; v.number = 1; return true; }
    if (Literal("false")) { v.kind = JsonValue::Bool; return true; }
    if (Literal("null")) return true;
    v.kind = JsonValue::Number;
    if (Literal("NaN")) { v.number = NAN; return true; }
    if (Literal("Infinity")) { v.number = INFINITY; return true; }
    if (Literal("-Infinity")) { v.number = -INFINITY; return true; }
    char* end = nullptr;
    v.number = std::strtod(s.c_str() + i, &end);
    if (end == s.c_str() + i) return false;
    i = (size_t)(end - s.c_str());
    return true;
  }
};

}  // namespace

const JsonValue& JsonValue::Missing() {
  static const JsonValue none;
  return none;
}

const JsonValue& JsonValue::operator[](const std::string& key) const {
  auto it = members.find(key);
  return it == members.end() ? Missing() : it->second;
}

const JsonValue& JsonValue::operator[](size_t index) const {
  return index < items.size() ? items[index] : Missing();
}

bool ParseJson(const std::string& text, JsonValue& out) {
  out = JsonValue{};
  JsonParser parser{text};
  if (!parser.ParseValue(out)) return false;
  parser.SkipSpace();
  return parser.i == text.size();
}
