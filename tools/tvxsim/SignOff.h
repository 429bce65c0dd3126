// The sign-off of one run of a CD: does this path serve the person? A run fails it when its
// outcome is INCOMPLETE or failed, when it crashed or hung, and when the person was told a file of
// the CD is missing on a path the CD is meant to serve. Refusals the program makes by design (a
// WDM download on Windows 95, any driver on NT 4.0, a download started on 2000/XP) pass.
#pragma once
#include <optional>
#include <string>

#include "Outcome.h"

namespace tvx::sim {

struct SignOff {
  enum class Verdict { Passes, Fails, NotServed };
  Verdict verdict = Verdict::Passes;
  std::string reason;        // why it fails, in words; empty when it passes
  const char* word() const;  // "ok", "FAILS", "not served"
  std::string text() const;  // "ok", "FAILS: the 2000/XP installer is missing from the CD", "not served"
};

// `problem` is "crashed: ..." or "hung: ..." when the run did not end; `served` is false for a
// Windows version the CD deliberately does not serve.
SignOff signOffOf(const std::optional<Outcome>& outcome, const std::string& problem, bool served = true);

}  // namespace tvx::sim
