#include "win32/window_scale.h"

#include <algorithm>
#include <cmath>

namespace corvane {

double ChooseWindowScale(int requested, int clientW, int clientH, int frameW, int frameH, int usableW,
                         int usableH) {
  if (requested > 0) return requested;
  if (usableW <= 0 || usableH <= 0 || clientW <= 0 || clientH <= 0) return 1.0;
  double fit = std::min((double)(usableW - frameW) / clientW, (double)(usableH - frameH) / clientH);
  if (fit >= 1.0) return std::floor(fit);
  return std::max(fit, 0.25);
}

}  // namespace corvane
