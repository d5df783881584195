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

  // \uXXXX (after the u) as UTF-8; a surrogate half stays as it is encoded.
  bool ParseCodeUnit(std::string& out) {
    if (i + 4 >= s.size()) return false;
    unsigned code = 0;
    for (int k = 1; k <= 4; ++k) {
      const char h = s[i + k];
      if (!std::isxdigit((unsigned char)h)) return false;
      code = code * 16 + unsigned(h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
    }
    i += 5;
    if (code < 0x80) {
      out += char(code);
    } else if (code < 0x800) {
      out += char(0xC0 | code >> 6);
      out += char(0x80 | (code & 0x3F));
    } else {
      out += char(0xE0 | code >> 12);
      out += char(0x80 | (code >> 6 & 0x3F));
      out += char(0x80 | (code & 0x3F));
    }
    return true;
  }

  bool ParseString(std::string& out) {
    if (i >= s.size() || s[i] != '"') return false;
    ++i;
    while (i < s.size() && s[i] != '"') {
      if (s[i] == '\\' && i + 1 < s.size()) {
        char e = s[++i];
        if (e == 'u') {
          if (!ParseCodeUnit(out)) return false;
          continue;
        }
        out += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e == 'b' ? '\b' : e == 'f' ? '\f' : e;
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
