#include "common/comfort_keys.h"

#include <vector>

#include "common/comfort_note.h"
#include "common/player_settings.h"

namespace corvane {
namespace {

std::vector<int> requests;

}  // namespace

void RequestComfort(int key) { requests.push_back(key); }

void ApplyComfortRequests() {
  std::vector<int> waiting;
  waiting.swap(requests);
  for (int key : waiting) ShowComfortNote(ApplyComfort(key).c_str());
}

}  // namespace corvane
