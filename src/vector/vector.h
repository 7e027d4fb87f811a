#pragma once
// The 3-D point and direction type of the whole converter (lengths in millimetres).

#include <array>
#include <concepts>
#include <cstddef>
#include <iosfwd>
#include <iterator>
#include <stdexcept>
#include <string>

namespace App {

// Bound of Vector equality (a squared distance, mm²) and of the two tests in normalize()
// (a length, mm).
inline constexpr double tolerance = 1e-05;

// A computation that has no finite answer for the given vectors: division by zero, a plane
// normal or a rotation axis of length zero. Thrown instead of returning NaN or infinity.
class GeometryError : public std::domain_error {
 public:
  using std::domain_error::domain_error;
};

// Anything that can be read by index 0, 1 and 2 as numbers: a Vector, std::array<double, 3>,
// std::vector<double>, a C array.
template <class T>
concept Indexable3 = requires(const T& t) {
  { t[0] } -> std::convertible_to<double>;
};

namespace detail {
// Reads t[0], t[1], t[2]; a sized container with fewer than three items is refused.
template <Indexable3 T>
std::array<double, 3> readTriple(const T& t) {
  if constexpr (requires { std::size(t); }) {
    if (std::size(t) < 3) throw std::invalid_argument("expected three coordinates");
  }
  return {static_cast<double>(t[0]), static_cast<double>(t[1]), static_cast<double>(t[2])};
}
}  // namespace detail

class Vector {
 public:
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;

  constexpr Vector() = default;
  constexpr Vector(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}

  // A new vector from n[0], n[1], n[2]; items after index 2 are ignored.
  template <Indexable3 T>
  [[nodiscard]] static Vector from_np(const T& n) {
    const auto a = detail::readTriple(n);
    return {a[0], a[1], a[2]};
  }
  [[nodiscard]] std::array<double, 3> to_np() const { return {x, y, z}; }

  [[nodiscard]] double Length() const;
  [[nodiscard]] double dot(const Vector& v) const;
  [[nodiscard]] Vector cross(const Vector& v) const;
  // Unsigned angle to v in radians, 0 to pi; 0.0 when either length is exactly zero.
  [[nodiscard]] double getAngle(const Vector& v) const;

  // Scale this vector in place and return it, so calls chain. normalize() leaves a vector
  // shorter than `tolerance`, or within `tolerance` of unit length, unchanged.
  Vector& multiply(double m);
  Vector& normalize();

  // Unsigned distance to the plane through v with normal n (any non-zero length, either
  // sense). Throws GeometryError for a zero normal.
  [[nodiscard]] double distanceToPlane(const Vector& v, const Vector& n) const;
  // Orthogonal projection onto the plane through v with normal n. Normalises the caller's n
  // (after measuring the distance with its original length). Throws GeometryError, leaving n
  // as it was, for a zero normal.
  [[nodiscard]] Vector projectToPlane(const Vector& v, Vector& n) const;

  // 0 gives x, 1 gives y, 2 gives z (compared as numbers, so 1.0 selects y); any other index
  // throws std::out_of_range("illegal index").
  [[nodiscard]] double operator[](double index) const;
  [[nodiscard]] static constexpr std::size_t size() { return 3; }

  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = double;
    using difference_type = std::ptrdiff_t;
    using pointer = const double*;
    using reference = const double&;

    const_iterator() = default;
    reference operator*() const { return i_ == 0 ? v_->x : i_ == 1 ? v_->y : v_->z; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator old = *this;
      ++i_;
      return old;
    }
    bool operator==(const const_iterator&) const = default;

   private:
    friend class Vector;
    const_iterator(const Vector* v, int i) : v_(v), i_(i) {}
    const Vector* v_ = nullptr;
    int i_ = 0;
  };
  // Iteration yields x, y, z.
  [[nodiscard]] const_iterator begin() const { return {this, 0}; }
  [[nodiscard]] const_iterator end() const { return {this, 3}; }

  // "(1.0, 2.0, 3.0)": each component in shortest round-trip form.
  [[nodiscard]] std::string str() const;

  // Tolerant equality: the squared distance is strictly below `tolerance`. The other side
  // may be any three-element indexable.
  friend bool operator==(const Vector& a, const Vector& b) { return a.isCloseTo(b.x, b.y, b.z); }
  template <Indexable3 T>
  friend bool operator==(const Vector& a, const T& b) {
    const auto t = detail::readTriple(b);
    return a.isCloseTo(t[0], t[1], t[2]);
  }

  [[nodiscard]] Vector operator+(const Vector& v) const { return {x + v.x, y + v.y, z + v.z}; }
  [[nodiscard]] Vector operator-(const Vector& v) const { return {x - v.x, y - v.y, z - v.z}; }
  [[nodiscard]] Vector operator-() const { return {-x, -y, -z}; }
  [[nodiscard]] Vector operator*(double m) const { return {m * x, m * y, m * z}; }
  // Throws GeometryError for m == 0.
  [[nodiscard]] Vector operator/(double m) const;

 private:
  [[nodiscard]] bool isCloseTo(double ox, double oy, double oz) const;
};

std::ostream& operator<<(std::ostream& os, const Vector& v);

}  // namespace App
