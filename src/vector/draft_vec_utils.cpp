#include "vector/draft_vec_utils.h"

#include <cmath>

namespace App::DraftVecUtils {

namespace {
using Matrix = double[3][3];

// Row by row, summed left to right.
Vector times(const Matrix& m, const Vector& v) {
  return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
          m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
          m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
}
}  // namespace

Vector rotate(const Vector& v, double angle, const Vector& axis) {
  const double cosA = std::cos(angle);
  const double sinA = std::sin(angle);
  // Near-unit axes take their exact matrix without being normalised, so (0, 0, 1.003) acts
  // as +Z while (0, 0, 2) and (0, 0, -1) go through the general matrix below.
  if (axis == Vector(1, 0, 0)) {
    const Matrix rx = {{1, 0, 0}, {0, cosA, -sinA}, {0, sinA, cosA}};
    return times(rx, v);
  }
  if (axis == Vector(0, 1, 0)) {
    const Matrix ry = {{cosA, 0, sinA}, {0, 1, 0}, {-sinA, 0, cosA}};
    return times(ry, v);
  }
  if (axis == Vector(0, 0, 1)) {
    const Matrix rz = {{cosA, -sinA, 0}, {sinA, cosA, 0}, {0, 0, 1}};
    return times(rz, v);
  }

  // Euler–Rodrigues.
  const double norm = std::sqrt(axis.dot(axis));
  if (norm == 0.0) throw GeometryError("rotation axis " + axis.str() + " has length zero");
  const Vector k = axis / norm;
  const double a = std::cos(angle / 2.0);
  const double h = std::sin(angle / 2.0);
  const double b = -k.x * h;
  const double c = -k.y * h;
  const double d = -k.z * h;
  const double aa = a * a, bb = b * b, cc = c * c, dd = d * d;
  const double bc = b * c, ad = a * d, ac = a * c, ab = a * b, bd = b * d, cd = c * d;
  const Matrix m = {{aa + bb - cc - dd, 2 * (bc + ad), 2 * (bd - ac)},
                    {2 * (bc - ad), aa + cc - bb - dd, 2 * (cd + ab)},
                    {2 * (bd + ac), 2 * (cd - ab), aa + dd - bb - cc}};
  return times(m, v);
}

double angle(const Vector& u, const Vector& v, const Vector& normal) {
  const double ll = u.Length() * v.Length();
  if (ll == 0.0) return 0.0;
  double dp = u.dot(v) / ll;
  if (dp < -1.0) {
    dp = -1.0;
  } else if (dp > 1.0) {
    dp = 1.0;
  }
  const double ang = std::acos(dp);
  return normal.dot(u.cross(v)) >= 0.0 ? ang : -ang;
}

}  // namespace App::DraftVecUtils
