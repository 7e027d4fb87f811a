#pragma once
// Rotation about an axis and signed angle between vectors; angles in radians.

#include "vector/vector.h"

namespace App::DraftVecUtils {

// v turned by `angle` about `axis`, right-handed. An axis within `tolerance` (squared
// distance) of +X, +Y or +Z uses that axis's exact matrix; any other axis is normalised and
// used through the Euler–Rodrigues matrix. Throws GeometryError for an axis of length zero.
[[nodiscard]] Vector rotate(const Vector& v, double angle, const Vector& axis = Vector(0, 0, 1));

// The angle from u to v, from -pi to pi: positive when normal · (u × v) >= 0. With the
// defaults it is the signed turn about +Z that takes u onto +X. 0.0 when the product of the
// lengths is exactly zero.
[[nodiscard]] double angle(const Vector& u, const Vector& v = Vector(1, 0, 0),
                           const Vector& normal = Vector(0, 0, 1));

}  // namespace App::DraftVecUtils
