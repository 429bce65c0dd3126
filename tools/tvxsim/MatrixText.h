// The matrix as text and as JSON, and its closing line: three views of one matrix.
#pragma once
#include <string>

#include "Matrix.h"

namespace tvx::sim {

std::string matrixText(const Matrix& matrix);
// "36 runs: 20 complete, 16 nothing installed, ...": the count of each outcome.
std::string matrixCounts(const Matrix& matrix);
// "signed off: ..." or "NOT signed off: 2 rows fail: ...": the closing line, naming each failing
// row and its reason.
std::string matrixSignOff(const Matrix& matrix);
std::string matrixJson(const Matrix& matrix);

}  // namespace tvx::sim
