#include "model/arrotonda.h"

#include <cmath>

double arrotonda(double x) {
  // Explicit rather than std::nearbyint, so the result never depends on the
  // floating-point environment's rounding mode.
  double sotto = std::floor(x);
  double resto = x - sotto;  // exact for every finite double
  if (resto > 0.5) return sotto + 1;
  if (resto < 0.5) return sotto;
  return std::fmod(sotto, 2.0) == 0 ? sotto : sotto + 1;
}
