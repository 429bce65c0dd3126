// The sign-off of a CD: the CD run on every Windows version, each on its built-in machine (or one
// of the release engineer's), along every path a person can take there, each run held to its
// outcome. It is a loop over the same run as `tvxsim run`.
#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Mastering.h"
#include "Report.h"

namespace tvx::sim {

// One way a person takes through the program: the command line's tail and what they do.
struct MatrixPath {
  std::string label;                // "main dialog: driver only"
  std::string args;                 // the command line after the program
  std::vector<std::string> script;  // the machine's [Script] lines
};

struct MatrixRow {
  std::string version;  // "win98se"
  MatrixPath path;
  std::string machineFolder;      // where the row's machine was written
  std::vector<std::string> seen;  // the dialogs and messages, in order, by caption and first words
  RunReport report;               // its `problem` says when the run crashed or hung
  SignOff signOff;                // the row's sign-off: "not served" for a Windows the CD leaves out
  bool failing() const;           // fails the sign-off
  std::string verdict() const;    // the outcome's text, or the problem
};

struct Matrix {
  std::string cd;
  std::string kind;                  // "CD" or "download (WebSetup=N)"
  std::vector<std::string> without;  // the Windows versions the CD deliberately does not serve
  std::vector<MatrixRow> rows;
  std::optional<Mastering> mastering;  // a disc image: what Windows reads of it against what it was made from
  std::string keptIn;                  // where the failing rows' machine folders stay, when said apart
  std::size_t failing() const;
  // No row fails, and a disc image holds its folder (where one was named) as Windows reads it.
  bool signedOff() const;
};

// The Windows versions of the matrix, as `--without` names them: win95, win98, win98se, winme,
// nt40, win2k, winxp. Gives the unknown name, or empty when every name is known.
std::string unknownVersion(const std::vector<std::string>& names);

// The paths a person can take on this Windows with the CD whose setup.ini is given.
std::vector<MatrixPath> matrixPaths(const std::string& version, const std::string& setupIni);

// Runs the CD (a folder, or an ISO 9660 image read as Windows reads the disc) on every version.
// The rows' machine folders are written below `work`; with `base`, that machine folder stands in
// for the built-in ones (its Windows version set for each). With `madeFrom`, the image is held to
// the folder it was made from. Throws MachineError when the CD holds no setup program or the image
// cannot be read.
Matrix runMatrix(const std::filesystem::path& cd, const std::optional<std::filesystem::path>& base,
                 const std::filesystem::path& work, const std::vector<std::string>& without = {},
                 const std::optional<std::filesystem::path>& madeFrom = std::nullopt);

}  // namespace tvx::sim
