#pragma once

namespace plotvik {

// The store half of a property setter: writes `value` into `field` and tells whether it
// differed. Setters notify (repaint, change events) only on a real change, so assigning a
// property its current value costs nothing.
template <class T>
bool StoreChanged(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace plotvik
