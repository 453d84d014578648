#include "tools/png_file.h"

#include <zlib.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "platform/file_path.h"

namespace plotvik {
namespace {

constexpr int kMaxPaletteSize = 256;

// The picture's colours in order of first appearance into `palette`, and each pixel's index into
// them into `indices`; false when there are more than a palette holds.
bool IndexColours(const TPngPicture& picture, std::vector<std::uint32_t>& palette,
                  std::vector<std::uint8_t>& indices) {
  // Open addressing over four times as many slots as a palette has entries: a lookup almost
  // always ends at its first slot.
  constexpr std::size_t kSlots = 4 * kMaxPaletteSize;
  constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;  // never a key: keys have no alpha byte
  std::array<std::uint32_t, kSlots> keys;
  std::array<std::uint8_t, kSlots> values{};
  keys.fill(kEmpty);

  palette.clear();
  indices.resize(picture.pixels.size());
  std::uint32_t lastColour = kEmpty;
  std::uint8_t lastIndex = 0;
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    const std::uint32_t colour = picture.pixels[i] & 0x00FFFFFFu;
    if (colour != lastColour) {
      std::size_t slot = (colour * 0x9E3779B1u) >> 22;  // the top 10 bits: 0 .. kSlots - 1
      while (keys[slot] != colour && keys[slot] != kEmpty) slot = (slot + 1) % kSlots;
      if (keys[slot] == kEmpty) {
        if (palette.size() == kMaxPaletteSize) return false;
        keys[slot] = colour;
        values[slot] = static_cast<std::uint8_t>(palette.size());
        palette.push_back(colour);
      }
      lastColour = colour;
      lastIndex = values[slot];
    }
    indices[i] = lastIndex;
  }
  return true;
}

int BitsFor(std::size_t colours) {
  if (colours <= 2) return 1;
  if (colours <= 4) return 2;
  if (colours <= 16) return 4;
  return 8;
}

// Packs `count` indices of `bits` bits each into bytes, the first index in the highest bits.
void Pack(const std::uint8_t* indices, std::size_t count, int bits, std::uint8_t* out) {
  if (bits == 8) {
    std::memcpy(out, indices, count);
    return;
  }
  const std::size_t perByte = 8 / static_cast<std::size_t>(bits);
  const std::size_t whole = count / perByte;
  for (std::size_t i = 0; i < whole; ++i, indices += perByte) {
    unsigned byte = 0;
    for (std::size_t k = 0; k < perByte; ++k) byte = (byte << bits) | indices[k];
    out[i] = static_cast<std::uint8_t>(byte);
  }
  const std::size_t rest = count - whole * perByte;
  if (rest == 0) return;
  unsigned byte = 0;
  for (std::size_t k = 0; k < perByte; ++k) byte = (byte << bits) | (k < rest ? indices[k] : 0u);
  out[whole] = static_cast<std::uint8_t>(byte);
}

// The image data before compression, into `raw`: each row of the enlarged picture as a filter
// byte (0, no filter) and the row's packed pixels.
void PaletteRows(const TPngPicture& picture, const std::vector<std::uint8_t>& indices, int bits,
                 int scale, std::vector<std::uint8_t>& enlarged, std::vector<std::uint8_t>& raw) {
  const std::size_t width = static_cast<std::size_t>(picture.width) * scale;
  const std::size_t stride = (width * bits + 7) / 8 + 1;
  raw.resize(stride * picture.height * scale);
  enlarged.resize(scale > 1 ? width : 0);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* from = indices.data() + static_cast<std::size_t>(y) * picture.width;
    if (scale > 1) {
      for (std::size_t x = 0; x < width; ++x) enlarged[x] = from[x / scale];
      from = enlarged.data();
    }
    std::uint8_t* row = raw.data() + stride * y * scale;
    row[0] = 0;
    Pack(from, width, bits, row + 1);
    for (int copy = 1; copy < scale; ++copy) std::memcpy(row + stride * copy, row, stride);
  }
}

void RgbRows(const TPngPicture& picture, int scale, std::vector<std::uint8_t>& raw) {
  const std::size_t width = static_cast<std::size_t>(picture.width) * scale;
  const std::size_t stride = width * 3 + 1;
  raw.resize(stride * picture.height * scale);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint32_t* from = picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
    std::uint8_t* row = raw.data() + stride * y * scale;
    row[0] = 0;
    std::uint8_t* to = row + 1;
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint32_t pixel = from[x / scale];
      *to++ = static_cast<std::uint8_t>(pixel >> 16);
      *to++ = static_cast<std::uint8_t>(pixel >> 8);
      *to++ = static_cast<std::uint8_t>(pixel);
    }
    for (int copy = 1; copy < scale; ++copy) std::memcpy(row + stride * copy, row, stride);
  }
}

void PutBigEndian(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value >> 24);
  out += static_cast<char>(value >> 16);
  out += static_cast<char>(value >> 8);
  out += static_cast<char>(value);
}

void PutChunk(std::string& out, const char type[4], const std::string& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.append(type, 4);
  out += data;
  const auto* crcBytes = reinterpret_cast<const Bytef*>(out.data() + start);
  PutBigEndian(
      out, static_cast<std::uint32_t>(crc32(0, crcBytes, static_cast<uInt>(out.size() - start))));
}

std::string ErrnoText() {
  return std::error_code(errno, std::generic_category()).message();
}

}  // namespace

struct TPngEncoder::Buffers {
  std::vector<std::uint32_t> palette;
  std::vector<std::uint8_t> indices;
  std::vector<std::uint8_t> enlarged;
  std::vector<std::uint8_t> raw;
  std::string deflated;
  std::string file;
  z_stream stream{};
};

TPngEncoder::TPngEncoder() : buffers_(std::make_unique<Buffers>()) {
  // Run-length matches at the fastest level: the rows are long runs of the background and grid
  // colours, which this finds as well as a full search does, in a fraction of the time.
  if (deflateInit2(&buffers_->stream, 1, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK) throw std::bad_alloc();
}

TPngEncoder::~TPngEncoder() {
  deflateEnd(&buffers_->stream);
}

const std::string& TPngEncoder::Encode(const TPngPicture& picture, int scale) {
  Buffers& b = *buffers_;
  const bool indexed = IndexColours(picture, b.palette, b.indices);
  const int bits = indexed ? BitsFor(b.palette.size()) : 8;
  if (indexed)
    PaletteRows(picture, b.indices, bits, scale, b.enlarged, b.raw);
  else
    RgbRows(picture, scale, b.raw);

  z_stream& stream = b.stream;
  if (deflateReset(&stream) != Z_OK) throw std::runtime_error("compression failed");
  b.deflated.resize(deflateBound(&stream, b.raw.size()));
  stream.next_in = b.raw.data();
  stream.avail_in = static_cast<uInt>(b.raw.size());
  stream.next_out = reinterpret_cast<Bytef*>(b.deflated.data());
  stream.avail_out = static_cast<uInt>(b.deflated.size());
  if (deflate(&stream, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("compression failed");
  b.deflated.resize(stream.total_out);

  std::string header;
  PutBigEndian(header, static_cast<std::uint32_t>(picture.width * scale));
  PutBigEndian(header, static_cast<std::uint32_t>(picture.height * scale));
  header += static_cast<char>(bits);
  header += static_cast<char>(indexed ? 3 : 2);  // colour type: palette or RGB
  header.append(3, '\0');                        // deflate, adaptive filters, no interlace

  std::string& file = b.file;
  file.assign("\x89PNG\r\n\x1a\n");
  PutChunk(file, "IHDR", header);
  if (indexed) {
    std::string palette;
    for (const std::uint32_t colour : b.palette) {
      palette += static_cast<char>(colour >> 16);
      palette += static_cast<char>(colour >> 8);
      palette += static_cast<char>(colour);
    }
    PutChunk(file, "PLTE", palette);
  }
  PutChunk(file, "IDAT", b.deflated);
  PutChunk(file, "IEND", {});
  return file;
}

bool TPngEncoder::Write(const std::filesystem::path& path, const TPngPicture& picture, int scale,
                        std::string& error) {
  const std::string& bytes = Encode(picture, scale);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenForWriting(path), &std::fclose);
  if (!file) {
    error = ErrnoText();
    return false;
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    error = ErrnoText();
    return false;
  }
  if (std::fclose(file.release()) != 0) {
    error = ErrnoText();
    return false;
  }
  return true;
}

std::string EncodePng(const TPngPicture& picture, int scale) {
  return TPngEncoder().Encode(picture, scale);
}

bool WritePngFile(const std::filesystem::path& path, const TPngPicture& picture, int scale,
                  std::string& error) {
  return TPngEncoder().Write(path, picture, scale, error);
}

}  // namespace plotvik
