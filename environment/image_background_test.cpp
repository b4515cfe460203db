#include "FolianUtils/image_background.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "environment/image_background_internal.h"
#include "environment/support_folders_test_roots.h"

namespace folian {
namespace {

using velmar::utils::CColor;
using velmar::utils::velmar_ustring;
using Bytes = std::vector<unsigned char>;

constexpr std::uint8_t kGrey = 0;
constexpr std::uint8_t kTruecolour = 2;
constexpr std::uint8_t kPalette = 3;

// PNG files are put together chunk by chunk; the reader ignores the CRCs,
// so they are left zero.
class PngBuilder {
 public:
  PngBuilder() : m_bytes{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A} {}

  PngBuilder& Chunk(const char* type, const Bytes& data) {
    return RawChunk(static_cast<std::uint32_t>(data.size()), type, data);
  }
  // A chunk whose stated length need not match its data.
  PngBuilder& RawChunk(std::uint32_t length, const char* type, const Bytes& data) {
    for (int shift = 24; shift >= 0; shift -= 8) {
      m_bytes.push_back(static_cast<unsigned char>(length >> shift));
    }
    m_bytes.insert(m_bytes.end(), type, type + 4);
    m_bytes.insert(m_bytes.end(), data.begin(), data.end());
    m_bytes.insert(m_bytes.end(), 4, 0);
    return *this;
  }
  PngBuilder& Header(std::uint8_t depth, std::uint8_t colour_type) {
    return Chunk("IHDR", {0, 0, 0, 16, 0, 0, 0, 16, depth, colour_type, 0, 0, 0});
  }
  PngBuilder& Grey(std::uint16_t sample) { return Chunk("bKGD", Samples({sample})); }
  PngBuilder& Rgb(std::uint16_t r, std::uint16_t g, std::uint16_t b) {
    return Chunk("bKGD", Samples({r, g, b}));
  }
  PngBuilder& Data() { return Chunk("IDAT", {0x78, 0x9C, 0x63, 0x00, 0x00, 0x00, 0x01}); }
  PngBuilder& End() { return Chunk("IEND", {}); }
  operator Bytes() const { return m_bytes; }  // NOLINT(google-explicit-constructor): table rows

 private:
  static Bytes Samples(std::initializer_list<std::uint16_t> samples) {
    Bytes out;
    for (const std::uint16_t s : samples) {
      out.push_back(static_cast<unsigned char>(s >> 8));
      out.push_back(static_cast<unsigned char>(s & 0xFF));
    }
    return out;
  }
  Bytes m_bytes;
};

class ImageBackgroundTest : public ::testing::Test {
 public:
  void SetUp() override { ASSERT_TRUE(m_owner.ok()); }

  velmar_ustring Write(const std::string& name, const Bytes& bytes) {
    const std::filesystem::path path = m_folder / std::filesystem::u8path(name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return velmar_ustring(path.u8string());
  }

  test::TemporaryFolder m_owner;
  const std::filesystem::path& m_folder = m_owner.path();
};

const CColor kNone = CColor::FromPacked(0x04030201u);

CColor Opaque(int red, int green, int blue) {
  return CColor(static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                static_cast<std::uint8_t>(blue));
}
CColor Opaque(int grey) { return Opaque(grey, grey, grey); }
PngBuilder Png(std::uint8_t depth, std::uint8_t colour_type) {
  return PngBuilder().Header(depth, colour_type);
}

// Reads `bytes` as a file and from memory; both readers must agree.
bool ReadBoth(ImageBackgroundTest& test, const Bytes& bytes, CColor* color,
              const std::string& name = "image.png") {
  CColor from_memory = *color;
  const bool memory_ok = ReadPNGBackgroundColor(bytes.data(), bytes.size(), &from_memory);
  const bool file_ok = GetImageBackgroundColor(test.Write(name, bytes), color);
  EXPECT_EQ(memory_ok, file_ok);
  EXPECT_EQ(from_memory, *color);
  return file_ok;
}

Bytes Truncated(Bytes bytes, std::size_t drop) {
  bytes.resize(bytes.size() - drop);
  return bytes;
}

PngBuilder ManyEmptyChunks(int count) {
  PngBuilder png = Png(8, kGrey);
  for (int i = 0; i < count; ++i) png.Chunk("zTXt", {});
  return png;
}

struct Case {
  const char* what;
  Bytes bytes;
  CColor expected;  // kNone: the read fails
};

TEST_F(ImageBackgroundTest, ReadsGreyAndColourBackgroundsAtEveryDepth) {
  const Case cases[] = {
      {"8-bit truecolour", Png(8, kTruecolour).Rgb(0, 128, 255).Data().End(), Opaque(0, 128, 255)},
      {"16-bit grey 0x8080", Png(16, kGrey).Grey(0x8080), Opaque(128)},
      {"16-bit grey 0xFFFF", Png(16, kGrey).Grey(0xFFFF), Opaque(255)},
      {"16-bit truecolour", Png(16, kTruecolour).Rgb(0, 0x8080, 0xFFFF), Opaque(0, 128, 255)},
      {"1-bit grey 1", Png(1, kGrey).Grey(1), Opaque(255)},
      {"1-bit grey 0", Png(1, kGrey).Grey(0), Opaque(0)},
      {"2-bit grey 2", Png(2, kGrey).Grey(2), Opaque(170)},
      {"4-bit grey 3", Png(4, kGrey).Grey(3), Opaque(51)},
      {"sample above the depth's range", Png(8, kGrey).Grey(300), Opaque(255)},
      {"form from the length, not the colour type", Png(8, kGrey).Rgb(10, 20, 30),
       Opaque(10, 20, 30)},
      {"other chunks before the background",
       Png(8, kTruecolour).Chunk("gAMA", {0, 0, 0xB1, 0x8F}).Chunk("tEXt", {}).Rgb(1, 2, 3),
       Opaque(1, 2, 3)},
      {"the last header's depth counts", Png(16, kGrey).Header(8, kGrey).Grey(128), Opaque(128)},
      {"header taken as 13 bytes whatever its length",
       PngBuilder().RawChunk(0, "IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0, 0, 0}).Grey(7),
       Opaque(7)},
      {"depth 0, zero sample", Png(0, kGrey).Grey(0), Opaque(0)},
      {"depth 0, other sample", Png(0, kGrey).Grey(5), Opaque(255)},
      {"truncated colour samples count as 0", Truncated(Png(8, kTruecolour).Rgb(255, 128, 255), 6),
       Opaque(255, 128, 0)},
      {"half a sample counts as 0", Truncated(Png(8, kTruecolour).Rgb(255, 128, 255), 7),
       Opaque(255, 0, 0)},
      {"grey sample missing", Truncated(Png(8, kGrey).Grey(200), 6), Opaque(0)},
      {"8-bit grey 33, one lower", Png(8, kGrey).Grey(33), Opaque(32)},
      {"many empty chunks before the background", ManyEmptyChunks(5000).Grey(64), Opaque(64)},
      {"palette background", Png(8, kPalette).Chunk("bKGD", {4}), kNone},
      {"background of 4 bytes", Png(8, kGrey).Chunk("bKGD", {0, 1, 0, 2}), kNone},
      {"background before header", PngBuilder().Grey(10).Header(8, kGrey).Grey(10), kNone},
      {"no background", Png(8, kGrey).Data().End(), kNone},
      {"signature only", PngBuilder(), kNone},
      {"empty file", Bytes{}, kNone},
      {"short signature", Bytes{0x89, 0x50, 0x4E}, kNone},
      {"wrong signature", Bytes{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0B}, kNone},
      {"truncated header", Truncated(Png(8, kGrey), 8), kNone},
      {"header without CRC", Truncated(Png(8, kGrey), 2), kNone},
      {"truncated chunk frame", Truncated(Png(8, kGrey).Grey(1), 9), kNone},
      {"huge chunk length", Png(8, kGrey).RawChunk(0xFFFFFFFFu, "zzzz", {}).Grey(9), kNone},
      {"chunk running past the end", Png(8, kGrey).RawChunk(100, "IDAT", {1, 2, 3}), kNone},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CColor color = kNone;
    EXPECT_EQ(!(c.expected == kNone), ReadBoth(*this, c.bytes, &color));
    EXPECT_EQ(c.expected, color) << int(color.Red()) << " " << int(color.Green()) << " "
                                 << int(color.Blue()) << " " << int(color.Alpha());
  }
}

// 1/255 * 255 falls just below an integer for these samples, and the
// conversion truncates.
TEST(ImageBackgroundMemoryTest, EightBitGreyTruncatesExactlyTheKnownSamples) {
  const std::vector<int> one_lower = {33, 37,  41,  45,  49,  53,  57,  61,  66,  74,  82,  90,
                                      98, 106, 114, 122, 132, 148, 164, 180, 196, 212, 228, 244};
  std::vector<int> seen_lower;
  for (int sample = 0; sample < 256; ++sample) {
    CColor color = kNone;
    const Bytes bytes = Png(8, kGrey).Grey(static_cast<std::uint16_t>(sample));
    ASSERT_TRUE(ReadPNGBackgroundColor(bytes.data(), bytes.size(), &color));
    if (!(color == Opaque(sample))) {
      EXPECT_EQ(Opaque(sample - 1), color) << sample;
      seen_lower.push_back(sample);
    }
  }
  EXPECT_EQ(one_lower, seen_lower);
}

TEST_F(ImageBackgroundTest, OnlyPngExtensionsAreOpened) {
  const Bytes png = Png(8, kTruecolour).Rgb(0, 128, 255);
  std::filesystem::create_directories(m_folder / "folder.png");
  struct NameCase {
    const char* name;
    bool ok;
  } cases[] = {
      {"photo.PNG", true},     {"photo.Png", true},      {".png", true},
      {"a.b.png", true},       {"image.png.bak", false}, {"folder.png/file", false},
      {"no_extension", false}, {"image.pn", false},      {"image.pngx", false},
      {"image.", false},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.name);
    CColor color = kNone;
    EXPECT_EQ(c.ok, GetImageBackgroundColor(Write(c.name, png), &color));
    EXPECT_EQ(c.ok ? Opaque(0, 128, 255) : kNone, color);
    // Without the extension test every one of them is readable.
    CColor direct = kNone;
    const std::filesystem::path path = m_folder / std::filesystem::u8path(c.name);
    EXPECT_TRUE(GetPNGBackgroundColor(velmar_ustring(path.u8string()), &direct));
  }
}

TEST_F(ImageBackgroundTest, MissingOrUnreadableFilesGiveFalse) {
  std::filesystem::create_directories(m_folder / "dir.png");
  const velmar_ustring paths[] = {
      velmar_ustring(),
      velmar_ustring((m_folder / "missing.png").u8string()),
      velmar_ustring((m_folder / "dir.png").u8string()),
  };
  for (const velmar_ustring& path : paths) {
    SCOPED_TRACE(path.ToUTF8());
    CColor color = kNone;
    EXPECT_FALSE(GetImageBackgroundColor(path, &color));
    EXPECT_EQ(kNone, color);
  }
  CColor color = kNone;
  EXPECT_FALSE(ReadPNGBackgroundColor(nullptr, 0, &color));
  EXPECT_EQ(kNone, color);
}

TEST(ImageFileExtensionTest, TakesTheTextAfterTheLastDotOfTheLastName) {
  const struct {
    const char* path;
    const char* ext;
  } cases[] = {
      {"a/b/photo.PNG", "PNG"},
      {"a.dir/file", ""},
      {"a/.png", "png"},
      {"x.tar.gz", "gz"},
      {"name", ""},
      {"name.", ""},
      {"", ""},
      {"a.b/c.d", "d"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(velmar_ustring(c.ext), GetFileExtension(velmar_ustring(c.path))) << c.path;
  }
}

}  // namespace
}  // namespace folian
