// Real BMP and PNG files: the BMP suite's good files read with the pixels of
// their reference, its doubtful and bad files never crash, PngSuite's valid
// files load (matching the decoded-pixel oracles) and its corrupt ones fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "d3dx9/image_decode.h"
#include "support/corpus.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;
using corvane::d3dx9::DecodedImage;
using corvane::d3dx9::DecodeImage;

bool Decode(const fs::path& file, DecodedImage* image) {
  const std::vector<uint8_t> bytes = ReadBytes(file);
  std::string error;
  return DecodeImage(bytes.data(), bytes.size(), image, &error);
}

std::vector<fs::path> FilesIn(const fs::path& dir, const std::string& ext) {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().extension() == ext) files.push_back(e.path());
  return files;
}

TEST(CorpusBmp, EveryGoodFileLoadsWithThePixelsOfItsReference) {
  SKIP_WITHOUT_CORPUS("bmp");
  const fs::path bmp = CorpusFolder("bmp");
  // Reference -> files with the same picture (including the RLE and
  // needless-palette files stb_image alone refuses).
  const std::map<std::string, std::vector<std::string>> groups = {
      {"g/rgb24.bmp", {"g/rgb32.bmp", "g/rgb32bf.bmp", "g/rgb32bfdef.bmp", "g/rgb24pal.bmp", "q/rgb24lprof.bmp",
                       "q/rgb24prof.bmp", "q/rgb32-xbgr.bmp"}},
      {"g/pal8.bmp", {"g/pal8-0.bmp", "g/pal8os2.bmp", "g/pal8topdown.bmp", "g/pal8v4.bmp", "g/pal8v5.bmp",
                      "g/pal8rle.bmp", "q/pal8os2-hs.bmp", "q/pal8os2-sz.bmp", "q/pal8os2v2-40sz.bmp",
                      "b/badpalettesize.bmp"}},
      {"g/pal4.bmp", {"g/pal4rle.bmp"}},
      {"g/rgb16.bmp", {"g/rgb16bfdef.bmp", "q/rgb16faketrns.bmp"}},
      {"g/rgb16-565.bmp", {"g/rgb16-565pal.bmp"}},
      {"g/pal1.bmp", {"g/pal1wb.bmp", "b/badbitssize.bmp", "b/baddens1.bmp", "b/baddens2.bmp", "b/badfilesize.bmp"}},
  };
  for (const auto& [reference, members] : groups) {
    DecodedImage ref;
    ASSERT_TRUE(Decode(bmp / reference, &ref)) << reference;
    for (const std::string& member : members) {
      DecodedImage image;
      ASSERT_TRUE(Decode(bmp / member, &image)) << member;
      EXPECT_EQ(image.width, ref.width) << member;
      EXPECT_EQ(image.height, ref.height) << member;
      EXPECT_TRUE(image.rgba == ref.rgba) << member << " differs from " << reference;
    }
  }
  // Every good file loads at its size, opaque (no good file carries alpha).
  for (const fs::path& file : FilesIn(bmp / "g", ".bmp")) {
    DecodedImage image;
    ASSERT_TRUE(Decode(file, &image)) << file;
    const std::string name = file.filename().string();
    const bool narrow = name.rfind("pal8w", 0) == 0 || name == "pal8nonsquare.bmp";
    if (!narrow) {
      EXPECT_EQ(image.width, 127) << name;
      EXPECT_EQ(image.height, 64) << name;
    }
    for (size_t i = 3; i < image.rgba.size(); i += 4) ASSERT_EQ(image.rgba[i], 255) << name;
  }
  // A 32-bit file's spare byte is not alpha.
  DecodedImage fake;
  ASSERT_TRUE(Decode(bmp / "q/rgb32fakealpha.bmp", &fake));
  for (size_t i = 3; i < fake.rgba.size(); i += 4) ASSERT_EQ(fake.rgba[i], 255);
}

TEST(CorpusBmp, DoubtfulAndBadFilesNeverCrashAndClearlyBrokenOnesAreRefused) {
  SKIP_WITHOUT_CORPUS("bmp");
  const fs::path bmp = CorpusFolder("bmp");
  for (const char* dir : {"q", "b", "x"}) {
    for (const fs::path& file : FilesIn(bmp / dir, ".bmp")) {
      DecodedImage image;
      if (Decode(file, &image)) {
        EXPECT_EQ(image.rgba.size(), size_t(image.width) * image.height * 4) << file;
      }
    }
  }
  for (const char* name : {"b/badbitcount.bmp", "b/badheadersize.bmp", "b/badplanes.bmp", "b/badwidth.bmp",
                           "b/reallybig.bmp", "b/rletopdown.bmp", "x/ba-bm.bmp"}) {
    DecodedImage image;
    EXPECT_FALSE(Decode(bmp / name, &image)) << name;
  }
}

TEST(CorpusPng, ValidFilesLoadCorruptOnesFailAndOraclesMatch) {
  SKIP_WITHOUT_CORPUS("png");
  const fs::path png = CorpusFolder("png");
  // stb_image does not check CRCs, so these two damaged files still decode.
  const std::set<std::string> crcOnly = {"xcsn0g01.png", "xhdn0g08.png"};
  int valid = 0;
  for (const fs::path& file : FilesIn(png, ".png")) {
    const std::string name = file.filename().string();
    DecodedImage image;
    const bool ok = Decode(file, &image);
    if (name[0] != 'x') {
      EXPECT_TRUE(ok) << name;
      ++valid;
    } else if (!crcOnly.count(name)) {
      EXPECT_FALSE(ok) << name;
    }
  }
  EXPECT_EQ(valid, 161);

  for (const fs::path& json : FilesIn(png / "json", ".json")) {
    std::vector<uint8_t> expected;
    int value = -1;
    for (char ch : ReadText(json)) {
      if (ch >= '0' && ch <= '9') {
        value = (value < 0 ? 0 : value * 10) + (ch - '0');
      } else if (value >= 0) {
        expected.push_back(uint8_t(value));
        value = -1;
      }
    }
    DecodedImage image;
    ASSERT_TRUE(Decode(png / (json.stem().string() + ".png"), &image)) << json;
    ASSERT_EQ(expected.size(), 4096u) << json;
    EXPECT_TRUE(image.rgba == expected) << json;
  }
}

}  // namespace
