#include "metric/gaussian.h"

#include <cmath>
#include <numbers>

namespace quorvane::metric {

namespace {

double determinant(const double m[3][3]) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
         m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

}  // namespace

RecursiveGaussian recursiveGaussian(double sigma) {
  RecursiveGaussian g;
  // The paper's choice of N for a given sigma (its equation 57).
  const double radius = std::round(3.2795 * sigma + 0.2546);
  g.radius = static_cast<int>(radius);
  const double base = std::numbers::pi / (2.0 * radius);
  g.omega = {base, 3.0 * base, 5.0 * base};

  // Each section's response to a constant (p) and its second moment (r), and
  // the cosine amplitudes of the Gaussian itself (rho): beta is chosen so that
  // the filter keeps a constant, has the Gaussian's variance, and matches its
  // spectrum at the frequencies. Solved with Cramer's rule.
  const double p[3] = {1.0 / std::tan(0.5 * g.omega[0]), -1.0 / std::tan(0.5 * g.omega[1]),
                       1.0 / std::tan(0.5 * g.omega[2])};
  const double r[3] = {p[0] * p[0] / std::sin(g.omega[0]), -p[1] * p[1] / std::sin(g.omega[1]),
                       p[2] * p[2] / std::sin(g.omega[2])};
  double rho[3];
  for (int k = 0; k < 3; ++k) {
    rho[k] = std::exp(-0.5 * sigma * sigma * g.omega[k] * g.omega[k]) / radius;
  }
  const double d13 = p[0] * r[1] - r[0] * p[1];
  const double zeta15 = (p[1] * r[2] - r[1] * p[2]) / d13;
  const double zeta35 = (p[2] * r[0] - r[2] * p[0]) / d13;
  const double system[3][3] = {{p[0], p[1], p[2]}, {r[0], r[1], r[2]}, {zeta15, zeta35, 1.0}};
  const double rhs[3] = {1.0, radius * radius - sigma * sigma,
                         zeta15 * rho[0] + zeta35 * rho[1] + rho[2]};
  const double det = determinant(system);
  for (int k = 0; k < 3; ++k) {
    double replaced[3][3];
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 3; ++col) replaced[row][col] = col == k ? rhs[row] : system[row][col];
    }
    g.beta[k] = determinant(replaced) / det;
  }
  for (int k = 0; k < 3; ++k) {
    g.n2[k] = -g.beta[k] * std::cos(g.omega[k] * (radius + 1.0));
    g.d1[k] = -2.0 * std::cos(g.omega[k]);
  }
  return g;
}

std::array<float, kBlurReach + 1> blurTaps() {
  const RecursiveGaussian g = recursiveGaussian();
  std::array<float, kBlurReach + 1> taps{};
  for (int m = 0; m <= kBlurReach; ++m) {
    double sum = 0.0;
    for (int k = 0; k < 3; ++k) sum += g.beta[k] * std::cos(g.omega[k] * m);
    taps[m] = static_cast<float>(sum);
  }
  return taps;
}

}  // namespace quorvane::metric
