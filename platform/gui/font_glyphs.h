#pragma once

// The glyphs of the font files, read with FreeType: what the raster draws text with in the
// program.

#include <filesystem>
#include <map>
#include <memory>
#include <string_view>
#include <tuple>

#include "raster/glyph_source.h"

namespace plotvik {

// The file that draws a font name in a style: the metric-compatible stand-ins for the names the
// charts were designed with, Liberation Sans for any other name.
std::string_view FontFileFor(std::string_view name, TFontStyles style);

// The glyphs of one font file (which need not exist), for callers that choose the file
// themselves.
std::unique_ptr<TGlyphSource> OpenGlyphSource(const std::filesystem::path& file, int pixels);

// The faces of the program's font folder, each opened at its first use and kept. A file missing
// from the folder gives a face that measures zero and draws nothing.
class TFontFileGlyphs : public TGlyphSources {
 public:
  TGlyphSource& Face(std::string_view name, int pixels, TFontStyles style) override;

 private:
  std::map<std::tuple<std::string_view, int>, std::unique_ptr<TGlyphSource>> faces_;
};

// The faces every window's canvas draws with: opening a face costs more than a frame, so the
// windows share them.
TGlyphSources& WindowGlyphs();

}  // namespace plotvik
