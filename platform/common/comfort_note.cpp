#include "common/comfort_note.h"

#include <chrono>
#include <string>

namespace corvane {
namespace {

constexpr auto NOTE_TIME = std::chrono::seconds(1);

std::string note;
std::chrono::steady_clock::time_point shownAt;

}  // namespace

void ShowComfortNote(const char* text) {
  note = text ? text : "";
  shownAt = std::chrono::steady_clock::now();
}

const char* ComfortNoteText() {
  if (note.empty()) return nullptr;
  if (std::chrono::steady_clock::now() - shownAt >= NOTE_TIME) {
    note.clear();
    return nullptr;
  }
  return note.c_str();
}

}  // namespace corvane
