#include "common/comfort_note.h"

#include <chrono>
#include <cstdint>
#include <string>

#include "common/virtual_clock.h"

namespace corvane {
namespace {

constexpr uint64_t NOTE_NANOS = 1000000000;

std::string note;
uint64_t shownAt = 0;

// A scripted run's note lasts a second of its virtual clock, so that the
// same frames show it on every run.
uint64_t Now() {
  if (VirtualClockActive()) return VirtualClockNanos();
  return (uint64_t)std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

void ShowComfortNote(const char* text) {
  note = text ? text : "";
  shownAt = Now();
}

const char* ComfortNoteText() {
  if (note.empty()) return nullptr;
  if (Now() - shownAt >= NOTE_NANOS) {
    note.clear();
    return nullptr;
  }
  return note.c_str();
}

}  // namespace corvane
