#pragma once

#include <string>
#include <string_view>

namespace plotvik {

// The UTF-8 form of one code point.
std::string Utf8Of(char32_t c);

// UTF-8 to code points. A byte that does not start a valid sequence becomes one replacement
// character and decoding goes on with the next byte, so a broken sequence costs a character
// per byte; a sequence cut short by the end of the text is broken too. A byte-order mark at the
// start is no character.
std::u32string DecodeUtf8(std::string_view text);

}  // namespace plotvik
