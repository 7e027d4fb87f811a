#include "vector/vector.h"

#include <cmath>
#include <ostream>

#include "text/number_text.h"

namespace App {

double Vector::Length() const { return std::sqrt(x * x + y * y + z * z); }

double Vector::dot(const Vector& v) const { return x * v.x + y * v.y + z * v.z; }

Vector Vector::cross(const Vector& v) const {
  return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
}

double Vector::getAngle(const Vector& v) const {
  const double l1 = Length();
  const double l2 = v.Length();
  if (l1 == 0.0 || l2 == 0.0) return 0.0;
  double dp = dot(v) / (l1 * l2);
  // Rounding can push the cosine of (anti)parallel vectors just past ±1.
  if (dp < -1.0) dp = -1.0;
  if (dp > 1.0) dp = 1.0;
  return std::acos(dp);
}

Vector& Vector::multiply(double m) {
  x *= m;
  y *= m;
  z *= m;
  return *this;
}

Vector& Vector::normalize() {
  const double length = Length();
  if (length < tolerance) return *this;
  // A nearly unit vector keeps its components exactly.
  if (std::abs(length - 1.0) < tolerance) return *this;
  x /= length;
  y /= length;
  z /= length;
  return *this;
}

namespace {
double normalLength(const Vector& n) {
  const double len = n.Length();
  if (len == 0.0) throw GeometryError("plane normal " + n.str() + " has length zero");
  return len;
}
}  // namespace

double Vector::distanceToPlane(const Vector& v, const Vector& n) const {
  return std::abs((*this - v).dot(n) / normalLength(n));
}

Vector Vector::projectToPlane(const Vector& v, Vector& n) const {
  // The signed distance is measured with the normal's length before it is normalised.
  const double d = (*this - v).dot(n) / normalLength(n);
  n.normalize();
  return *this - n * d;
}

double Vector::operator[](double index) const {
  if (index == 0) return x;
  if (index == 1) return y;
  if (index == 2) return z;
  throw std::out_of_range("illegal index");
}

std::string Vector::str() const {
  std::string out = "(";
  out += text::repr(x);
  out += ", ";
  out += text::repr(y);
  out += ", ";
  out += text::repr(z);
  out += ')';
  return out;
}

Vector Vector::operator/(double m) const {
  if (m == 0.0) throw GeometryError("division of vector " + str() + " by zero");
  return {x / m, y / m, z / m};
}

bool Vector::isCloseTo(double ox, double oy, double oz) const {
  const double dx = x - ox;
  const double dy = y - oy;
  const double dz = z - oz;
  return dx * dx + dy * dy + dz * dz < tolerance;
}

std::ostream& operator<<(std::ostream& os, const Vector& v) { return os << v.str(); }

}  // namespace App
