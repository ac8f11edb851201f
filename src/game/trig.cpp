#include "game/trig.h"

#include <cmath>

namespace pondaro {

namespace {

// pi/2 split in two: k * kPio2Hi is exact for the multiples the game reaches.
constexpr double kPio2Hi = 1.57079632673412561417e+00;
constexpr double kPio2Lo = 6.07710050650619224932e-11;
constexpr double kTwoOverPi = 6.36619772367581382433e-01;

// sin and cos on [-pi/4, pi/4].
double KernelSin(double x) {
  constexpr double S1 = -1.66666666666666324348e-01, S2 = 8.33333333332248946124e-03,
                   S3 = -1.98412698298579493134e-04, S4 = 2.75573137070700676789e-06,
                   S5 = -2.50507602534068634195e-08, S6 = 1.58969099521155010221e-10;
  const double z = x * x, w = z * z;
  const double r = S2 + z * (S3 + z * S4) + z * w * (S5 + z * S6);
  return x + z * x * (S1 + z * r);
}

double KernelCos(double x) {
  constexpr double C1 = 4.16666666666666019037e-02, C2 = -1.38888888888741095749e-03,
                   C3 = 2.48015872894767294178e-05, C4 = -2.75573143513906633035e-07,
                   C5 = 2.08757232129817482790e-09, C6 = -1.13596475577881948265e-11;
  const double z = x * x, w = z * z;
  const double r = z * (C1 + z * (C2 + z * C3)) + w * w * (C4 + z * (C5 + z * C6));
  const double hz = 0.5 * z, v = 1.0 - hz;
  return v + (((1.0 - v) - hz) + z * r);
}

// x = k * pi/2 + r with |r| <= pi/4; the quadrant is k mod 4.
double Reduce(double x, int& quadrant) {
  // Far out (never in play) the period is taken off first; fmod is exact.
  if (std::fabs(x) > 1e9) x = std::fmod(x, 4 * kPio2Hi);
  const double k = std::nearbyint(x * kTwoOverPi);
  quadrant = static_cast<int>(static_cast<long long>(k) & 3);
  return (x - k * kPio2Hi) - k * kPio2Lo;
}

}  // namespace

double GameSin(double x) {
  if (!std::isfinite(x)) return std::nan("");
  int q = 0;
  const double r = Reduce(x, q);
  switch (q) {
    case 0: return KernelSin(r);
    case 1: return KernelCos(r);
    case 2: return -KernelSin(r);
    default: return -KernelCos(r);
  }
}

double GameCos(double x) {
  if (!std::isfinite(x)) return std::nan("");
  int q = 0;
  const double r = Reduce(x, q);
  switch (q) {
    case 0: return KernelCos(r);
    case 1: return -KernelSin(r);
    case 2: return -KernelCos(r);
    default: return KernelSin(r);
  }
}

}  // namespace pondaro
