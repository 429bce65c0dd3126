// Dialog units to pixels, as Windows converts a template's coordinates: with the base units of
// the template's font at 96 dots per inch. The vertical base unit is the font's character height,
// its point size in pixels and two pixels of leading; the horizontal one the average character
// width, taken as 46 % of the height. For "MS Sans Serif" 8 point that gives Windows' own 6 x 13;
// 12 point gives 8 x 18, the 9 point fonts of the Asian dialogs 6 x 14.
#pragma once

namespace tvx::sim {

struct DialogBaseUnits {
  long cx = 0;  // pixels per four horizontal dialog units
  long cy = 0;  // pixels per eight vertical dialog units
};

inline DialogBaseUnits dialogBaseUnits(int pointSize) {
  const long height = (pointSize * 96L + 36) / 72 + 2;
  return DialogBaseUnits{(height * 46 + 50) / 100, height};
}

// Windows' MulDiv: a * b / c, rounded half away from zero.
inline long mulDiv(long a, long b, long c) {
  const long product = a * b;
  const long half = c / 2;
  return product >= 0 ? (product + half) / c : -((-product + half) / c);
}

inline long dialogUnitsToPixelsX(long x, const DialogBaseUnits& units) { return mulDiv(x, units.cx, 4); }
inline long dialogUnitsToPixelsY(long y, const DialogBaseUnits& units) { return mulDiv(y, units.cy, 8); }

}  // namespace tvx::sim
