#include "platform/exceptions.h"

#include <new>

namespace plotvik {

std::string ExceptionMessage(const std::exception& e) {
  if (auto* own = dynamic_cast<const Exception*>(&e)) return own->Message();
  if (dynamic_cast<const std::bad_alloc*>(&e)) return "Out of memory";
  return e.what();
}

}  // namespace plotvik
