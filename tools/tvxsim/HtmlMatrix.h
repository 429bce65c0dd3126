// The matrix as HTML: DIR/index.html with the table, each row linked to the page of its run, the
// rows that fail the sign-off marked; and that page for every row.
#pragma once
#include <filesystem>
#include <string>

#include "Matrix.h"

namespace tvx::sim {

// The file name of a row's page in the folder: its machine folder's name, "winme-3.html".
std::string matrixPageName(const MatrixRow& row);

std::string htmlMatrixIndex(const Matrix& matrix);

// Writes index.html and every row's page into `dir` (made when missing).
void writeMatrixHtml(const Matrix& matrix, const std::filesystem::path& dir);

}  // namespace tvx::sim
