#include "FolianUtils/image_background.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

#include "environment/image_background_internal.h"
#include "environment/support_folders_test_roots.h"

namespace folian {
namespace {

using velmar::utils::CColor;
using velmar::utils::velmar_ustring;

// PNG files as byte strings; the reader ignores the CRCs, so they are zero.
std::string Chunk(const char* type, const std::string& data, std::uint32_t length) {
  std::string chunk;
  for (int shift = 24; shift >= 0; shift -= 8) chunk += static_cast<char>(length >> shift);
  return chunk + type + data + std::string(4, '\0');
}
std::string Chunk(const char* type, const std::string& data = "") {
  return Chunk(type, data, static_cast<std::uint32_t>(data.size()));
}
// The reader takes a header as 13 bytes whatever its stated length.
std::string Header(int depth, int colour_type = 0, std::uint32_t length = 13) {
  return Chunk("IHDR",
               std::string("\0\0\0\x10\0\0\0\x10", 8) + static_cast<char>(depth) +
                   static_cast<char>(colour_type) + std::string(3, '\0'),
               length);
}
const std::string kSignature = "\x89PNG\r\n\x1A\n";
std::string Png(int depth, int colour_type = 0) { return kSignature + Header(depth, colour_type); }
// A background of one sample (grey) or three (colour), big-endian.
std::string Background(std::initializer_list<int> samples) {
  std::string data;
  for (const int s : samples) data += {static_cast<char>(s >> 8), static_cast<char>(s & 0xFF)};
  return Chunk("bKGD", data);
}
std::string Cut(const std::string& bytes, std::size_t count) {
  return bytes.substr(0, bytes.size() - count);
}

// Colours packed as 0xAABBGGRR. Neither is opaque, so no read gives them.
const CColor kNone = CColor::FromPacked(0x04030201u);
constexpr std::uint32_t kFailed = 0;

class ImageBackgroundTest : public test::TemporaryFolderTest {
 protected:
  // The colour read from a file, and from memory alike; kFailed when the
  // read fails, which must leave the colour alone.
  std::uint32_t Read(const std::string& bytes) const {
    CColor from_memory = kNone;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const bool memory_ok = ReadPNGBackgroundColor(data, bytes.size(), &from_memory);
    CColor color = kNone;
    EXPECT_EQ(memory_ok, GetImageBackgroundColor(MakeFile("image.png", bytes), &color));
    EXPECT_EQ(from_memory, color);
    return memory_ok || !(color == kNone) ? color.Packed() : kFailed;
  }
};

TEST_F(ImageBackgroundTest, ReadsTheBackgroundChunk) {
  const std::tuple<const char*, std::string, std::uint32_t> cases[] = {
      {"8-bit colour", Png(8, 2) + Background({0, 128, 255}) + Chunk("IEND"), 0xFFFF8000u},
      {"16-bit grey", Png(16) + Background({0xFFFF}), 0xFFFFFFFFu},
      {"8-bit grey truncates", Png(8) + Background({33}), 0xFF202020u},
      {"sample above the range", Png(8) + Background({300}), 0xFFFFFFFFu},
      {"depth 0, zero sample", Png(0) + Background({0}), 0xFF000000u},
      {"depth 0, other sample", Png(0) + Background({5}), 0xFFFFFFFFu},
      {"form from the length", Png(8, 0) + Background({10, 20, 30}), 0xFF1E140Au},
      {"other chunks first", Png(8, 2) + Chunk("gAMA", "abcd") + Background({1, 2, 3}),
       0xFF030201u},
      {"the last header counts", Png(16) + Header(8) + Background({128}), 0xFF808080u},
      {"header of length 0", kSignature + Header(8, 0, 0) + Background({7}), 0xFF070707u},
      {"half a sample counts as 0", Cut(Png(8, 2) + Background({255, 128, 255}), 7), 0xFF0000FFu},
      {"palette background", Png(8, 3) + Chunk("bKGD", "\x04"), kFailed},
      {"background before header", kSignature + Background({10}) + Header(8) + Background({10}),
       kFailed},
      {"no background", Png(8) + Chunk("IDAT", "x") + Chunk("IEND"), kFailed},
      {"wrong signature", "\x89PNG\r\n\x1A\x0B", kFailed},
      {"truncated header", Cut(Png(8), 8), kFailed},
      {"header without CRC", Cut(Png(8), 2), kFailed},
      {"huge chunk length", Png(8) + Chunk("zzzz", "", 0xFFFFFFFFu) + Background({9}), kFailed}};
  for (const auto& [what, bytes, expected] : cases) EXPECT_EQ(expected, Read(bytes)) << what;
}

TEST_F(ImageBackgroundTest, OnlyPngExtensionsAreOpened) {
  const std::string png = Png(8, 2) + Background({0, 128, 255});
  // The extension is the text after the last "." of the last name.
  const std::pair<const char*, bool> cases[] = {
      {"photo.PNG", true}, {"image.png.bak", false}, {"folder.png/file", false}, {"a.pngx", false}};
  for (const auto& [name, ok] : cases) {
    CColor color = kNone;
    const velmar_ustring path = MakeFile(name, png);
    EXPECT_EQ(ok, GetImageBackgroundColor(path, &color)) << name;
    EXPECT_EQ(ok ? 0xFFFF8000u : kNone.Packed(), color.Packed()) << name;
    EXPECT_TRUE(GetPNGBackgroundColor(path, &color)) << name;  // no extension test
  }
  for (const velmar_ustring& path : {Path("missing.png"), Path("folder.png"), velmar_ustring()}) {
    CColor color = kNone;
    EXPECT_FALSE(GetImageBackgroundColor(path, &color)) << path;
    EXPECT_EQ(kNone, color);
  }
  CColor color = kNone;
  EXPECT_FALSE(ReadPNGBackgroundColor(nullptr, 0, &color));
  EXPECT_EQ(kNone, color);
}

}  // namespace
}  // namespace folian
