// A small reader for the state dump's JSON lines: objects, arrays, numbers
// (with NaN and Infinity), strings, booleans and null.
#pragma once

#include <map>
#include <string>
#include <vector>

struct JsonValue {
  enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
  bool boolean = false;
  double number = 0.0;  // booleans read as 0 and 1 here too
  std::string text;
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> members;

  // Member or element; a Null value when absent (so chains never throw).
  const JsonValue& operator[](const std::string& key) const;
  const JsonValue& operator[](size_t index) const;
  bool Has(const std::string& key) const { return members.count(key) != 0; }
  // The Null value that stands for anything absent.
  static const JsonValue& Missing();
};

// Parses one JSON text; false on malformed input.
bool ParseJson(const std::string& text, JsonValue& out);
