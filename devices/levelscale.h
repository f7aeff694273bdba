#pragma once

#include <QtGlobal>

namespace lumaro::levelscale {

// The scales of a DALI arc power level (IEC 62386-102 logarithmic dimming curve) as the device
// windows show them.

// The dimming curve: arc level 1..254 in percent of full light, 10^((n - 1) / (253 / 3) - 1).
double curvePercent(int level);
// The slider percentage of an arc level through the percent-to-level table: 0 for 0, 1 for the
// levels 1..85, 255 for MASK, otherwise the table index nearest to the level (a tie goes to the
// lower percent).
int levelToPercent(int level);
// Linear channel value 0..254 of an arc level, as the colour channels are shown.
int linearValue(int level);

}  // namespace lumaro::levelscale
