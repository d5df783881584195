// Textures from files: requested sizes, unscaled placement, the exact colour
// key, bit depths and formats reading alike, and refusal of bad files.
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <sys/stat.h>

#include <d3dx9.h>

#include <filesystem>

#include "corvane_load_error.h"
#include "d3dx9/picture_prefetch.h"
#include "fuzz/hostile_jpegs.h"
#include "support/bmp_writer.h"
#include "support/device_test.h"
#include "support/files.h"

namespace {

constexpr DWORD kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kMagenta = 0xFFFF00FF;

class TextureTest : public DeviceTest {
 protected:
  IDirect3DTexture9* LoadEx(const std::string& file, UINT w, UINT h, D3DCOLOR key, UINT levels = 1) {
    IDirect3DTexture9* texture = nullptr;
    const HRESULT hr = D3DXCreateTextureFromFileExA(device, file.c_str(), w, h, levels, 0, D3DFMT_UNKNOWN,
                                                    D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT, key,
                                                    nullptr, nullptr, &texture);
    EXPECT_EQ(SUCCEEDED(hr), texture != nullptr);
    return texture;
  }
  std::string File(const std::string& name) const { return dir + "/" + name; }
  const std::string dir = MakeScratchDir("texture");
};

// 3x2 picture: red green blue / magenta, magenta-but-one, white.
const std::vector<DWORD> kPicture = {kRed, kGreen, kBlue, kMagenta, 0xFFFE00FF, 0xFFFFFFFF};

TEST_F(TextureTest, SmallerFileIsPaddedWithTransparentBlackAndLargerOneCut) {
  WriteBytes(File("p.bmp"), MakeBmp(3, 2, kPicture, 24));
  IDirect3DTexture9* big = LoadEx(File("p.bmp"), 4, 4, 0);
  ASSERT_NE(big, nullptr);
  D3DSURFACE_DESC desc;
  big->GetLevelDesc(0, &desc);
  EXPECT_EQ(desc.Width, 4u);
  EXPECT_EQ(desc.Height, 4u);
  const std::vector<DWORD> padded = {kRed,     kGreen,     kBlue,      0,  //
                                     kMagenta, 0xFFFE00FF, 0xFFFFFFFF, 0,  //
                                     0,        0,          0,          0,  //
                                     0,        0,          0,          0};
  EXPECT_EQ(ReadTexels(big), padded);
  big->Release();

  IDirect3DTexture9* small = LoadEx(File("p.bmp"), 2, 1, 0);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(ReadTexels(small), (std::vector<DWORD>{kRed, kGreen}));
  small->Release();
}

TEST_F(TextureTest, ColourKeyMatchesTheWholeOpaqueColourExactly) {
  WriteBytes(File("p.bmp"), MakeBmp(3, 2, kPicture, 24));
  IDirect3DTexture9* keyed = LoadEx(File("p.bmp"), 3, 2, 0xFFFF00FF);
  ASSERT_NE(keyed, nullptr);
  EXPECT_EQ(ReadTexels(keyed), (std::vector<DWORD>{kRed, kGreen, kBlue, 0, 0xFFFE00FF, 0xFFFFFFFF}));
  keyed->Release();
  // Without alpha in the key it never matches an opaque texel.
  IDirect3DTexture9* unkeyed = LoadEx(File("p.bmp"), 3, 2, 0x00FF00FF);
  ASSERT_NE(unkeyed, nullptr);
  EXPECT_EQ(ReadTexels(unkeyed), kPicture);
  unkeyed->Release();
}

TEST_F(TextureTest, EightTwentyFourAndThirtyTwoBitBmpsAndPngReadAlike) {
  WriteBytes(File("p8.bmp"), MakeBmp(3, 2, kPicture, 8));
  WriteBytes(File("p24.bmp"), MakeBmp(3, 2, kPicture, 24));
  WriteBytes(File("p32.bmp"), MakeBmp(3, 2, kPicture, 32));
  // The PNG carries real alpha: one texel half transparent.
  std::vector<uint8_t> rgba;
  for (DWORD t : kPicture) rgba.insert(rgba.end(), {uint8_t(t >> 16), uint8_t(t >> 8), uint8_t(t), uint8_t(t >> 24)});
  rgba[7] = 0x80;
  ASSERT_TRUE(stbi_write_png(File("p.png").c_str(), 3, 2, 4, rgba.data(), 12));

  for (const char* name : {"p8.bmp", "p24.bmp", "p32.bmp"}) {
    IDirect3DTexture9* t = LoadEx(File(name), 3, 2, 0);
    ASSERT_NE(t, nullptr) << name;
    EXPECT_EQ(ReadTexels(t), kPicture) << name;
    t->Release();
  }
  IDirect3DTexture9* png = LoadEx(File("p.png"), 3, 2, 0);
  ASSERT_NE(png, nullptr);
  std::vector<DWORD> expected = kPicture;
  expected[1] = 0x8000FF00;
  EXPECT_EQ(ReadTexels(png), expected);
  png->Release();
}

TEST_F(TextureTest, DefaultSizeRoundsUpToAPowerOfTwoAndRescales) {
  // 3x2 of one colour stretched over 4x2 stays that colour, with a full mip chain.
  WriteBytes(File("flat.bmp"), MakeBmp(3, 2, std::vector<DWORD>(6, kBlue), 24));
  IDirect3DTexture9* t = nullptr;
  ASSERT_EQ(D3DXCreateTextureFromFileA(device, File("flat.bmp").c_str(), &t), D3D_OK);
  D3DSURFACE_DESC desc;
  t->GetLevelDesc(0, &desc);
  EXPECT_EQ(desc.Width, 4u);
  EXPECT_EQ(desc.Height, 2u);
  EXPECT_EQ(t->GetLevelCount(), 3u);
  EXPECT_EQ(ReadTexels(t), std::vector<DWORD>(8, kBlue));
  EXPECT_EQ(ReadTexels(t, 2), std::vector<DWORD>(1, kBlue));
  t->Release();
}

// Missing, cut and corrupt files are refused with a reason; headers are
// checked against the file's size before pixels are allocated: a 1 KB file
// claiming 16384 x 16384, a picture cut in half, width 0, and a FIFO or
// folder at the name are refused too.
TEST_F(TextureTest, BadFilesAndHeadersClaimingMoreThanTheFileHoldsAreRefused) {
  std::vector<uint8_t> cut = MakeBmp(3, 2, kPicture, 24);
  cut.resize(30);
  WriteBytes(File("cut.bmp"), cut);
  WriteBytes(File("junk.png"), {0x89, 'P', 'N', 'G', 1, 2, 3});
  WriteBytes(File("empty.bmp"), {});
  std::vector<uint8_t> big = MakeBmp(4, 4, std::vector<DWORD>(16, kRed), 24);
  big.resize(1024);
  const auto put32 = [](std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
  };
  put32(big, 18, 16384);
  put32(big, 22, 16384);
  WriteBytes(File("big.bmp"), big);
  std::vector<uint8_t> half = MakeBmp(64, 64, std::vector<DWORD>(64 * 64, kBlue), 24);
  half.resize(half.size() / 2);
  WriteBytes(File("half.bmp"), half);
  std::vector<uint8_t> narrow = MakeBmp(4, 4, std::vector<DWORD>(16, kRed), 24);
  put32(narrow, 18, 0);
  WriteBytes(File("narrow.bmp"), narrow);
  // A few hundred KB of PNG that would decode to 100 MiB.
  const std::vector<uint8_t> plain(5000 * 5000, 0);
  ASSERT_TRUE(stbi_write_png(File("huge.png").c_str(), 5000, 5000, 1, plain.data(), 5000));
  std::filesystem::create_directories(File("folder.bmp"));
  ASSERT_EQ(mkfifo(File("fifo.bmp").c_str(), 0600), 0);  // never opened for writing: must not block
  for (const char* name : {"missing.bmp", "cut.bmp", "junk.png", "empty.bmp", "big.bmp", "half.bmp", "narrow.bmp",
                           "huge.png", "fifo.bmp", "folder.bmp"}) {
    IDirect3DTexture9* t = reinterpret_cast<IDirect3DTexture9*>(1);
    EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileA(device, File(name).c_str(), &t))) << name;
    EXPECT_EQ(t, nullptr) << name;
    EXPECT_STRNE(CorvaneLastLoadError(), "") << name;
  }
  EXPECT_STREQ(CorvaneLastLoadError(), "it is a folder");
}

// PNGs whose compressed data asks for far more memory than their pictures
// need: a chunk claiming a gigabyte, and a small picture whose data inflates
// to 32 MiB. Both are refused before stb_image allocates it.
TEST_F(TextureTest, PngDataClaimingMoreThanItsPictureNeedsIsRefused) {
  const auto chunk = [](const char* type, const std::vector<uint8_t>& body, uint32_t length) {
    std::vector<uint8_t> c = {uint8_t(length >> 24), uint8_t(length >> 16), uint8_t(length >> 8), uint8_t(length)};
    for (int i = 0; i < 4; ++i) c.push_back(uint8_t(type[i]));
    c.insert(c.end(), body.begin(), body.end());
    c.insert(c.end(), 4, 0);  // the CRC, which stb_image does not check
    return c;
  };
  const auto png = [&](const std::vector<uint8_t>& pixels, size_t claimed) {
    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const std::vector<uint8_t> header = {0, 0, 0, 64, 0, 0, 0, 64, 8, 0, 0, 0, 0};  // 64 x 64 grey
    const auto add = [&](const std::vector<uint8_t>& c) { file.insert(file.end(), c.begin(), c.end()); };
    add(chunk("IHDR", header, uint32_t(header.size())));
    int packed = 0;
    unsigned char* deflated = stbi_zlib_compress(const_cast<uint8_t*>(pixels.data()), int(pixels.size()), &packed, 8);
    const std::vector<uint8_t> data(deflated, deflated + packed);
    STBIW_FREE(deflated);
    add(chunk("IDAT", data, uint32_t(claimed ? claimed : data.size())));
    add(chunk("IEND", {}, 0));
    return file;
  };
  WriteBytes(File("fine.png"), png(std::vector<uint8_t>(64 * 65, 0), 0));
  WriteBytes(File("gigabyte-chunk.png"), png(std::vector<uint8_t>(64 * 65, 0), size_t(1) << 30));
  WriteBytes(File("inflates.png"), png(std::vector<uint8_t>(size_t(32) << 20, 0), 0));
  IDirect3DTexture9* fine = LoadEx(File("fine.png"), 64, 64, 0);
  ASSERT_NE(fine, nullptr) << CorvaneLastLoadError();
  fine->Release();
  for (const char* name : {"gigabyte-chunk.png", "inflates.png"}) {
    IDirect3DTexture9* refused = nullptr;
    EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileA(device, File(name).c_str(), &refused))) << name;
    EXPECT_NE(std::string(CorvaneLastLoadError()).find("larger than its size allows"), std::string::npos)
        << name << ": " << CorvaneLastLoadError();
  }
}

// JPEG tables stb_image would trust too far are refused by the check before
// it, with that check's reason; a valid JPEG still reads.
TEST_F(TextureTest, HostileJpegTablesAreRefusedAndValidJpegsRead) {
  const std::string grey = GreyJpeg();
  WriteBytes(File("grey.jpg"), std::vector<uint8_t>(grey.begin(), grey.end()));
  IDirect3DTexture9* t = LoadEx(File("grey.jpg"), 8, 8, 0);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(ReadTexels(t), std::vector<DWORD>(64, 0xFF808080));
  t->Release();
  for (const HostileJpeg& jpeg : HostileJpegs()) {
    WriteBytes(File(jpeg.name), std::vector<uint8_t>(jpeg.bytes.begin(), jpeg.bytes.end()));
    IDirect3DTexture9* refused = nullptr;
    EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileA(device, File(jpeg.name).c_str(), &refused))) << jpeg.name;
    EXPECT_EQ(jpeg.refusedBeforeStb, std::string(CorvaneLastLoadError()).find("damaged JPEG") != std::string::npos)
        << jpeg.name << ": " << CorvaneLastLoadError();
  }
}

// Pictures read ahead are handed over once each, exactly as reading the file
// then gives them (a damaged one with its reason), and only while the file
// is unchanged; the loaders racing the worker get the same textures.
TEST_F(TextureTest, PicturesReadAheadAreWhatReadingTheFileGives) {
  using namespace corvane::d3dx9;
  std::filesystem::create_directories(File("data/bmp"));
  const std::vector<uint8_t> good = MakeBmp(3, 2, kPicture, 24);
  std::vector<uint8_t> cut = good;
  cut.resize(40);
  for (const char* name : {"data/bmp/good.bmp", "data/bmp/later.bmp"}) WriteBytes(File(name), good);
  WriteBytes(File("data/bmp/cut.bmp"), cut);
  WorkingDirectory inData(File("data"));

  StartPicturePrefetch();
  WaitForPicturePrefetch();
  const std::vector<DWORD> blue(6, kBlue);
  WriteBytes("bmp/later.new", MakeBmp(3, 2, blue, 24));  // the same size, replaced as tools do
  std::filesystem::rename("bmp/later.new", "bmp/later.bmp");
  PictureFile taken;
  ASSERT_TRUE(TakePrefetchedPicture("bmp/good.bmp", &taken));
  const PictureFile now = ReadPictureFile("bmp/good.bmp");
  EXPECT_TRUE(taken.ok);
  EXPECT_EQ(taken.image.rgba, now.image.rgba);
  EXPECT_EQ(taken.format, D3DXIFF_BMP);
  EXPECT_FALSE(TakePrefetchedPicture("bmp/good.bmp", &taken));
  ASSERT_TRUE(TakePrefetchedPicture("bmp/cut.bmp", &taken));
  EXPECT_FALSE(taken.ok);
  EXPECT_EQ(taken.error, ReadPictureFile("bmp/cut.bmp").error);
  EXPECT_FALSE(TakePrefetchedPicture("bmp/later.bmp", &taken));

  StartPicturePrefetch();
  for (int round = 0; round < 2; ++round) {
    IDirect3DTexture9* t = LoadEx("bmp/good.bmp", 3, 2, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(ReadTexels(t), kPicture);
    t->Release();
    EXPECT_EQ(LoadEx("bmp/cut.bmp", 3, 2, 0), nullptr);
    EXPECT_STREQ(CorvaneLastLoadError(), ReadPictureFile("bmp/cut.bmp").error.c_str());
    t = LoadEx("bmp/later.bmp", 3, 2, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(ReadTexels(t), blue);
    t->Release();
  }
  StopPicturePrefetch();
}

}  // namespace
