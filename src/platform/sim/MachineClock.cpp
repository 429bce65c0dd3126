// The simulated machine's virtual clock: the scenario's events in time order, run as their time
// comes, with the programs the setup started ending as theirs does; and the events that wait for
// the program's Nth file copy or for a re-enumeration of the device tree.
#include <algorithm>

#include "Machine.h"

namespace tvx::sim {

void Machine::addEvent(DWORD at, std::string description, std::function<void()> action) {
  TimedEvent e{at, std::move(description), std::move(action)};
  auto pos =
      std::upper_bound(events.begin(), events.end(), at, [](DWORD t, const TimedEvent& other) { return t < other.at; });
  events.insert(pos, std::move(e));
}

void Machine::advance(DWORD milliseconds) {
  DWORD target = now + milliseconds;
  if (faults.maxTime != 0 && target > faults.maxTime) {
    throw RunBoundExceeded{"virtual time past " + std::to_string(faults.maxTime / 1000) + " s"};
  }
  // Step through every moment at which something is due, so each happens at its own time.
  while (true) {
    DWORD next = target;
    for (const auto& e : events) next = std::min(next, std::max(e.at, now));
    for (const auto& p : processes) {
      if (!p.ended && !p.behaviour.runsUntilClosed)
        next = std::min(next, std::max(p.startedAt + p.behaviour.runsFor, now));
    }
    now = next;
    settle();
    if (now >= target) break;
  }
}

void Machine::settle() {
  while (!events.empty() && events.front().at <= now) {
    TimedEvent e = std::move(events.front());
    events.erase(events.begin());
    record("event", {{"what", e.description}});
    if (e.action) e.action();
  }
  for (auto& p : processes) {
    if (p.ended || !programIsDue(p)) continue;
    p.ended = true;
    for (std::size_t w : p.windows) windows[w].open = false;
    record("ended", {{"program", p.program}, {"exitCode", std::to_string(p.behaviour.exitCode)}});
  }
}

bool Machine::programIsDue(const Process& p) const {
  if (!p.behaviour.runsUntilClosed) return now >= p.startedAt + p.behaviour.runsFor;
  for (std::size_t w : p.windows) {
    if (windows[w].open) return false;
  }
  return true;
}

void Machine::copied() {
  ++copies;
  auto [first, last] = afterCopies.equal_range(copies);
  if (first == last) return;
  for (auto it = first; it != last; ++it)
    addEvent(now, std::move(it->second.description), std::move(it->second.action));
  afterCopies.erase(first, last);
  advance(0);
}

void Machine::reenumerate() {
  if (reenumerated) return;
  reenumerated = true;
  for (auto& e : afterReenumeration) addEvent(now + e.at, std::move(e.description), std::move(e.action));
  afterReenumeration.clear();
}

}  // namespace tvx::sim
