#pragma once
// Project settings of the model database.

#include "db/database.h"

namespace Project {

// Material code of reinforced concrete in tblProject.Mat (and in every section table).
inline constexpr int kConcreteMat = 6;

// True when the project's material (tblProject.Mat of its first row) is reinforced concrete;
// false for any other material and for a project table without rows.
[[nodiscard]] bool IsConcrete(const db::Database& conn);

}  // namespace Project
