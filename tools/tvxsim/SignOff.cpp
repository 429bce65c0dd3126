#include "SignOff.h"

namespace tvx::sim {

const char* SignOff::word() const {
  switch (verdict) {
    case Verdict::Passes:
      return "ok";
    case Verdict::Fails:
      return "FAILS";
    case Verdict::NotServed:
      return "not served";
  }
  return "";
}

std::string SignOff::text() const { return reason.empty() ? word() : std::string(word()) + ": " + reason; }

SignOff signOffOf(const std::optional<Outcome>& outcome, const std::string& problem, bool served) {
  const auto fails = [](std::string reason) { return SignOff{SignOff::Verdict::Fails, std::move(reason)}; };
  if (!served) return SignOff{SignOff::Verdict::NotServed, {}};
  if (!problem.empty()) return fails(problem);
  if (!outcome) return fails("the run has no outcome");
  // What the CD lacks says most; else what the machine lacks, the first piece and how many more.
  if (!outcome->cdFault.empty()) return fails(outcome->cdFault);
  switch (outcome->verdict) {
    case Outcome::Verdict::Incomplete: {
      // The first piece (after the heading "nothing was to change (...), yet:"), and how many more.
      const std::vector<std::string>& missing = outcome->missing;
      std::size_t shown = 0;
      std::string reason;
      while (shown < missing.size() && (reason.empty() || reason.back() == ':')) {
        reason += (reason.empty() ? "" : " ") + missing[shown++];
      }
      if (reason.empty()) reason = "INCOMPLETE";
      if (missing.size() > shown) reason += " (and " + std::to_string(missing.size() - shown) + " more)";
      return fails(reason);
    }
    case Outcome::Verdict::Failed:
      return fails("the installation failed: " + outcome->summary);
    default:
      return SignOff{};
  }
}

}  // namespace tvx::sim
