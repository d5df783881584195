// The WAV reader on hand-made files and on the shared corpus.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "audio/riff_builder.h"
#include "media/wave_reader.h"
#include "support/corpus.h"

namespace {

using riff::Bytes;

Bytes Ramp(size_t n) {
  Bytes b;
  for (size_t i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(i * 7 + 3));
  return b;
}

HRESULT OpenBytes(WaveReader& reader, const std::string& name, const Bytes& bytes) {
  return reader.Open(riff::WriteFile(name, bytes).c_str());
}

TEST(WaveReader, RefusesFilesThatAreNotUsableRiffWave) {
  Bytes fmt = riff::PcmFormat(1, 8000, 8);
  Bytes data = riff::Chunk("data", Ramp(8));
  Bytes fields14 = riff::FormatFields(1, 1, 8000, 8);
  fields14.resize(14);
  struct Case {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"rifx.wav", riff::Riff({fmt, data}, "WAVE", "RIFX")},
      {"avi.wav", riff::Riff({fmt, data}, "AVI ")},
      {"fmt14.wav", riff::Riff({riff::Chunk("fmt ", fields14), data})},
      {"nofmt.wav", riff::Riff({data})},
      {"empty.wav", {}},
  };
  for (const Case& c : cases) {
    WaveReader reader;
    EXPECT_EQ(OpenBytes(reader, c.name, c.bytes), E_FAIL) << c.name;
    EXPECT_EQ(reader.format, nullptr) << c.name;  // a refused header leaves no format
  }
  // Without "data" the header is read but the search for the samples fails.
  WaveReader noData;
  EXPECT_EQ(OpenBytes(noData, "nodata.wav", riff::Riff({fmt})), E_FAIL);
}

TEST(WaveReader, PcmFormatsHaveNoExtraBytesAndOtherTagsKeepTheirs) {
  Bytes fields = riff::FormatFields(1, 2, 22050, 16);
  Bytes fmt18 = fields;
  riff::Put16(fmt18, 0x1234);  // a stray cbSize that PCM ignores
  Bytes adpcm = riff::FormatFields(2, 1, 11025, 4);
  riff::Put16(adpcm, 4);
  for (uint8_t b : {0xA1, 0xA2, 0xA3, 0xA4}) adpcm.push_back(b);

  for (const Bytes& body : {fields, fmt18}) {
    WaveReader reader;
    ASSERT_EQ(OpenBytes(reader, "pcm.wav", riff::Riff({riff::Chunk("fmt ", body), riff::Chunk("data", Ramp(8))})),
              S_OK);
    EXPECT_EQ(reader.format->wFormatTag, 1);
    EXPECT_EQ(reader.format->nChannels, 2);
    EXPECT_EQ(reader.format->nSamplesPerSec, 22050u);
    EXPECT_EQ(reader.format->nAvgBytesPerSec, 88200u);
    EXPECT_EQ(reader.format->nBlockAlign, 4);
    EXPECT_EQ(reader.format->wBitsPerSample, 16);
    EXPECT_EQ(reader.format->cbSize, 0);
    EXPECT_EQ(reader.dataChunk.cksize, 8u);
  }

  WaveReader reader;
  ASSERT_EQ(OpenBytes(reader, "adpcm.wav", riff::Riff({riff::Chunk("fmt ", adpcm), riff::Chunk("data", Ramp(4))})),
            S_OK);
  EXPECT_EQ(reader.format->wFormatTag, 2);
  ASSERT_EQ(reader.format->cbSize, 4);
  const uint8_t* extra = reinterpret_cast<const uint8_t*>(reader.format) + 18;
  EXPECT_EQ(Bytes(extra, extra + 4), (Bytes{0xA1, 0xA2, 0xA3, 0xA4}));
}

TEST(WaveReader, FindsDataAnywhereAndReadsItInPieces) {
  Bytes samples = Ramp(11);
  // "data" first, then an odd chunk with its pad byte, then "fmt ".
  Bytes file = riff::Riff({riff::Chunk("data", samples), riff::Chunk("odd ", {1, 2, 3}), riff::PcmFormat(1, 8000, 8)});
  WaveReader reader;
  ASSERT_EQ(OpenBytes(reader, "datafirst.wav", file), S_OK);
  EXPECT_EQ(reader.dataChunk.cksize, 11u);

  BYTE out[16] = {};
  UINT got = 99;
  ASSERT_EQ(reader.Read(6, out, &got), S_OK);
  EXPECT_EQ(got, 6u);
  ASSERT_EQ(reader.Read(16, out + 6, &got), S_OK);
  EXPECT_EQ(got, 5u);  // only what remains
  EXPECT_EQ(Bytes(out, out + 11), samples);
  ASSERT_EQ(reader.Read(16, out, &got), S_OK);
  EXPECT_EQ(got, 0u);

  ASSERT_EQ(reader.Rewind(), S_OK);
  EXPECT_EQ(reader.dataChunk.cksize, 11u);
  ASSERT_EQ(reader.Read(2, out, &got), S_OK);
  EXPECT_EQ(out[0], samples[0]);

  // Odd chunks before "data" are skipped with their pad byte.
  Bytes afterOdd = riff::Riff({riff::PcmFormat(1, 8000, 8), riff::Chunk("odd ", {9}), riff::Chunk("data", samples)});
  WaveReader second;
  ASSERT_EQ(OpenBytes(second, "oddfirst.wav", afterOdd), S_OK);
  ASSERT_EQ(second.Read(11, out, &got), S_OK);
  EXPECT_EQ(Bytes(out, out + 11), samples);
}

// Pieces that end inside, fill and outrun the 8 KiB I/O buffer come back in
// order; a file cut short after Open fails the Read that reaches the cut.
TEST(WaveReader, ReadsAcrossTheIoBufferAndFailsWhereTheFileWasCut) {
  Bytes samples = Ramp(40000);
  const std::string path =
      riff::WriteFile("long.wav", riff::Riff({riff::PcmFormat(1, 8000, 8), riff::Chunk("data", samples)}));
  WaveReader reader;
  ASSERT_EQ(reader.Open(path.c_str()), S_OK);
  Bytes out(samples.size());
  UINT got = 0, at = 0;
  for (UINT piece : {7u, 8192u, 3u, 20000u, 11798u}) {
    ASSERT_EQ(reader.Read(piece, out.data() + at, &got), S_OK);
    ASSERT_EQ(got, piece);
    at += piece;
  }
  EXPECT_EQ(out, samples);

  ASSERT_EQ(reader.Rewind(), S_OK);
  ASSERT_EQ(reader.Read(10, out.data(), &got), S_OK);
  std::filesystem::resize_file(path, 30000);
  EXPECT_EQ(reader.Read(39990, out.data(), &got), E_FAIL);
  EXPECT_EQ(got, 0u);
}

// A data chunk claiming more than the file holds (256 MiB in 1 KB, or a file
// cut short) is refused before any buffer is sized by it; so is a folder.
TEST(WaveReader, DataChunkLongerThanTheFileAndFoldersAreRefusedAtOpen) {
  Bytes cut = riff::Riff({riff::PcmFormat(1, 8000, 8), riff::Chunk("data", Ramp(20000))});
  cut.resize(cut.size() - 15000);
  Bytes claim = riff::Riff({riff::PcmFormat(1, 8000, 8), riff::Chunk("data", Ramp(980))});
  const uint32_t huge = 256u << 20;
  std::memcpy(&claim[40], &huge, 4);  // the data chunk's size field
  WaveReader reader;
  EXPECT_EQ(OpenBytes(reader, "cut.wav", cut), E_FAIL);
  EXPECT_EQ(OpenBytes(reader, "claim.wav", claim), E_FAIL);
  const std::string folder = riff::ScratchDir() + "/folder.wav";
  std::filesystem::create_directories(folder);
  EXPECT_EQ(reader.Open(folder.c_str()), E_FAIL);
}

// The corpus README's table says, per file, what the game's reader does: a
// file "refused" there is refused here; so is one whose data chunk runs past
// the end (the README's reader opens it and fails later in Read, this one
// refuses it at Open). Every other file opens with its data there in full.
std::map<std::string, bool> ListedAsOpening(const std::filesystem::path& readme) {
  std::map<std::string, bool> opens;
  std::istringstream lines(ReadText(readme.string()));
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> cells;
    for (size_t at = 1, bar; (bar = line.find('|', at)) != std::string::npos; at = bar + 1)
      cells.push_back(line.substr(at, bar - at));
    if (cells.size() < 12 || cells[0].find(".wav") == std::string::npos) continue;
    const std::string& reader = cells[10];
    opens[cells[0].substr(1, cells[0].size() - 2)] =
        reader.find("opens") != std::string::npos && reader.find("Read fails") == std::string::npos;
  }
  return opens;
}

TEST(WaveReaderCorpus, OpensOrRefusesEachFileAsListed) {
  SKIP_WITHOUT_CORPUS("wav");
  const std::filesystem::path root = CorpusFolder("wav");
  const std::map<std::string, bool> listed = ListedAsOpening(root.parent_path() / "README.md");
  ASSERT_EQ(listed.size(), 119u);
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (entry.path().extension() != ".wav") continue;
    const std::string name = std::filesystem::relative(entry.path(), root).generic_string();
    ++files;
    ASSERT_TRUE(listed.count(name)) << name << " is not in the README";
    WaveReader reader;
    const bool opened = reader.Open(entry.path().c_str()) == S_OK;
    EXPECT_EQ(opened, listed.at(name)) << name;
    if (!opened) continue;
    std::vector<BYTE> out(reader.dataChunk.cksize);
    UINT got = 0;
    EXPECT_EQ(reader.Read(static_cast<UINT>(out.size()), out.data(), &got), S_OK) << name;
  }
  EXPECT_EQ(files, 119);
}

TEST(WaveReaderCorpus, ReportsFormatsAndSizesOfSampleFiles) {
  SKIP_WITHOUT_CORPUS("wav");
  const std::filesystem::path root = CorpusFolder("wav");
  struct Expect {
    const char* name;
    WORD tag, channels, bits, cbSize;
    DWORD dataBytes;
  } expects[] = {
      {"valid/mono_pcm_16_44100_with_extension.wav", 1, 1, 16, 0, 4480},
      {"valid/format_chunk_with_extra_bytes.wav", 1, 1, 8, 0, 2240},
      {"valid/mono_pcm_8_44100_with_padding_byte.wav", 1, 1, 8, 0, 2241},
      {"valid/no_samples.wav", 1, 1, 8, 0, 0},
      {"invalid/format_chunk_after_data_chunk.wav", 1, 2, 16, 0, 8960},
      {"unsupported/unsupported_format_code_with_extension.wav", 2, 1, 4, 32, 0},
      {"valid/extensible_stereo_pcm_24_44100.wav", 0xFFFE, 2, 24, 22, 13440},
  };
  for (const Expect& e : expects) {
    WaveReader reader;
    ASSERT_EQ(reader.Open((root / e.name).c_str()), S_OK) << e.name;
    EXPECT_EQ(reader.format->wFormatTag, e.tag) << e.name;
    EXPECT_EQ(reader.format->nChannels, e.channels) << e.name;
    EXPECT_EQ(reader.format->wBitsPerSample, e.bits) << e.name;
    EXPECT_EQ(reader.format->cbSize, e.cbSize) << e.name;
    EXPECT_EQ(reader.dataChunk.cksize, e.dataBytes) << e.name;
  }
}

}  // namespace
