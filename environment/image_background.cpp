#include "FolianUtils/image_background.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

#include "environment/image_background_internal.h"
#include "environment/paths_internal.h"
#include "platform/file_stream.h"

namespace folian {
namespace {

using velmar::utils::CColor;
using velmar::utils::velmar_ustring;

constexpr unsigned char kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::size_t kHeaderSize = 13;
constexpr std::size_t kCrcSize = 4;
constexpr std::size_t kDepthOffset = 8;

std::uint32_t BigEndian32(const unsigned char* bytes) {
  return (static_cast<std::uint32_t>(bytes[0]) << 24) |
         (static_cast<std::uint32_t>(bytes[1]) << 16) |
         (static_cast<std::uint32_t>(bytes[2]) << 8) | static_cast<std::uint32_t>(bytes[3]);
}

class FileSource {
 public:
  explicit FileSource(std::FILE* stream) : m_stream(stream) {}
  std::size_t Read(unsigned char* out, std::size_t count) {
    return std::fread(out, 1, count, m_stream);
  }
  bool Skip(std::uint64_t distance) { return velmar::platform::SeekForward(m_stream, distance); }

 private:
  std::FILE* m_stream;
};

class MemorySource {
 public:
  MemorySource(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}
  std::size_t Read(unsigned char* out, std::size_t count) {
    const std::size_t available = m_size - m_position;
    if (count > available) count = available;
    if (count > 0) std::memcpy(out, m_data + m_position, count);
    m_position += count;
    return count;
  }
  // Like a seek past the end of a file: later reads come up short.
  bool Skip(std::uint64_t distance) {
    const std::size_t available = m_size - m_position;
    m_position = distance >= available ? m_size : m_position + static_cast<std::size_t>(distance);
    return true;
  }

 private:
  const unsigned char* m_data;
  std::size_t m_size;
  std::size_t m_position = 0;
};

template <typename Source>
bool ReadFull(Source& source, unsigned char* out, std::size_t count) {
  return source.Read(out, count) == count;
}

// A background sample that cannot be read counts as 0.
template <typename Source>
double ReadSample(Source& source) {
  unsigned char bytes[2];
  if (!ReadFull(source, bytes, 2)) return 0.0;
  return static_cast<double>((bytes[0] << 8) | bytes[1]);
}

// Every chunk moves the position forward by at least its 12 bytes of
// framing, so a finite file is read to its end in a bounded number of steps.
template <typename Source>
bool ReadBackground(Source& source, CColor* color) {
  unsigned char signature[sizeof kSignature];
  if (!ReadFull(source, signature, sizeof signature) ||
      std::memcmp(signature, kSignature, sizeof kSignature) != 0) {
    return false;
  }

  bool seen_header = false;
  unsigned char header[kHeaderSize] = {};
  std::uint32_t length = 0;
  for (;;) {
    unsigned char frame[8];
    if (!ReadFull(source, frame, sizeof frame)) return false;
    length = BigEndian32(frame);
    const unsigned char* type = frame + 4;
    if (std::memcmp(type, "IHDR", 4) == 0) {
      // The header is taken as 13 bytes whatever its stated length.
      unsigned char crc[kCrcSize];
      if (!ReadFull(source, header, kHeaderSize) || !ReadFull(source, crc, kCrcSize)) {
        return false;
      }
      seen_header = true;
    } else if (std::memcmp(type, "bKGD", 4) == 0) {
      if (!seen_header) return false;
      break;
    } else if (!source.Skip(static_cast<std::uint64_t>(length) + kCrcSize)) {
      return false;
    }
  }

  // Depth 0 has no valid sample: the division gives infinity, a zero sample
  // then gives NaN, and the colour maps NaN to 0.
  const int depth = header[kDepthOffset];
  const double levels = std::ldexp(1.0, depth) - 1.0;
  const double scale = levels > 0.0 ? 1.0 / levels : std::numeric_limits<double>::infinity();

  // The chunk's length, not the image's colour type, says which form it has.
  double red = 0.0;
  double green = 0.0;
  double blue = 0.0;
  if (length == 2) {
    red = green = blue = ReadSample(source) * scale;
  } else if (length == 6) {
    red = ReadSample(source) * scale;
    green = ReadSample(source) * scale;
    blue = ReadSample(source) * scale;
  } else {
    return false;
  }
  *color = CColor(red, green, blue, 1.0);
  return true;
}

struct StreamCloser {
  void operator()(std::FILE* stream) const { std::fclose(stream); }
};

}  // namespace

std::FILE* OpenFile(const velmar_ustring& path, const velmar_ustring& mode) {
  return velmar::platform::OpenFileStream(path.str(), mode.str());
}

bool ReadPNGBackgroundColor(const unsigned char* data, std::size_t size, CColor* color) {
  MemorySource source(data, data != nullptr ? size : 0);
  return ReadBackground(source, color);
}

bool GetPNGBackgroundColor(const velmar_ustring& path, CColor* color) {
  const std::unique_ptr<std::FILE, StreamCloser> stream(OpenFile(path, velmar_ustring("rb")));
  if (!stream) return false;
  FileSource source(stream.get());
  return ReadBackground(source, color);
}

velmar_ustring GetFileExtension(const velmar_ustring& path) {
  const velmar_ustring normalized = NormalizePath(path);
  const auto dot = normalized.ReverseFind(VELMAR_U('.'));
  if (dot == velmar_ustring::npos) return velmar_ustring();
  const auto slash = normalized.ReverseFind(VELMAR_U('/'));
  if (slash != velmar_ustring::npos && slash > dot) return velmar_ustring();
  return normalized.Mid(dot + 1, velmar_ustring::npos);
}

bool GetImageBackgroundColor(const velmar_ustring& path, CColor* color) {
  if (GetFileExtension(path).CompareNoCase(velmar_ustring("png")) != 0) return false;
  return GetPNGBackgroundColor(path, color);
}

}  // namespace folian
