// What a new CD does differently from the last one: the two matrices side by side, row by row
// (each Windows version and path), with what differs named: the verdict and the sign-off, the
// messages seen, the files placed (and their content), the INI and registry changes, the restart.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "Matrix.h"

namespace tvx::sim {

struct RowChange {
  std::string version;
  std::string label;
  const MatrixRow* newer = nullptr;      // null: the path is only in the old CD's matrix
  const MatrixRow* older = nullptr;      // null: the path is only in the new CD's matrix
  std::vector<std::string> differences;  // empty: the same
};

struct MatrixDiff {
  Matrix newer;
  Matrix older;
  std::vector<RowChange> rows;  // in the new matrix's order, then the old one's own paths
  std::size_t same() const;
};

MatrixDiff diffMatrices(Matrix newer, Matrix older);
// What differs between two rows of the same Windows version and path, one line each.
std::vector<std::string> rowDifferences(const MatrixRow& newer, const MatrixRow& older);

std::string matrixDiffText(const MatrixDiff& diff);
std::string matrixDiffJson(const MatrixDiff& diff);
// DIR/index.html, the differing rows first, each linked to its run's page in DIR/new and DIR/old.
void writeMatrixDiffHtml(const MatrixDiff& diff, const std::filesystem::path& dir);

}  // namespace tvx::sim
