#pragma once

#include <string>

namespace plotvik {

// The shortest text that reads back to the same double, its decimal point written as
// `decimalSeparator`: values the way the file gave them, not rounded to a label's digits. A
// whole number up to 2^53 is written out in digits ("1000000", never "1e+06"). Free of the
// locale's text functions, so '.' gives the plain machine form.
std::string ShortestNumberText(double value, char decimalSeparator = '.');

}  // namespace plotvik
