#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plotvik {

// How a sweep file falls into lines, for readers that take it a block at a time: a line ends
// with an LF, which belongs to it; a byte 26 ends the file wherever it stands and belongs to no
// line, so a line before it stops there; the file's last line may end with neither. A CR never
// ends a line (alone or before an LF) and never reaches a line's text; every other byte, NUL
// included, is text as it is. A line has no length limit. Since no byte pair decides anything,
// a block may end anywhere, between a CR and its LF too.
// The byte that ends a file wherever it stands (Ctrl-Z).
inline constexpr char kEndOfFileByte = 26;

enum class TLineEnd {
  leNone,       // the block ends first: the line goes on in the next block, if any
  leLf,         // an LF ends the line
  leEndOfFile,  // a byte 26 ends the line and the file
};

struct TLineSpan {
  // The line's bytes in the block before its end: its text, but for any CRs among them.
  std::size_t textSize = 0;
  // The bytes the line takes from the block: textSize, and its LF if it has one. A byte 26 is
  // not taken, so that every later look stops at it too.
  std::size_t size = 0;
  TLineEnd end = TLineEnd::leNone;
};

// Where the line that starts (or goes on) at the start of `block` ends.
TLineSpan FindLineEnd(std::string_view block);

// Appends to `text` a line's text from its bytes: all of them but the CRs.
void AppendLineText(std::string& text, std::string_view bytes);

}  // namespace plotvik
