// mmio on a RIFF file laid out by hand:
//   0 RIFF(98) WAVE | 12 LIST(14) INFO | 24 INAM(2) "ab" | 34 junk(3)+pad
//   46 "fmt "(16) | 70 data(27)+pad | 106 end of file
#include <gtest/gtest.h>
#include <mmsystem.h>

#include <string>

#include "audio/riff_builder.h"

namespace {

riff::Bytes LayoutFile() {
  riff::Bytes name = {'a', 'b'};
  riff::Bytes info;
  riff::PutId(info, "INFO");
  riff::Bytes inam = riff::Chunk("INAM", name);
  info.insert(info.end(), inam.begin(), inam.end());
  riff::Bytes samples;
  for (int i = 0; i < 27; ++i) samples.push_back(static_cast<uint8_t>(i + 1));
  return riff::Riff({riff::Chunk("LIST", info), riff::Chunk("junk", {7, 8, 9}), riff::PcmFormat(1, 8000, 8),
                     riff::Chunk("data", samples)});
}

class Mmio : public ::testing::Test {
 protected:
  void SetUp() override {
    bytes = LayoutFile();
    path = riff::WriteFile("layout.wav", bytes);
  }
  riff::Bytes bytes;
  std::string path;
};

TEST_F(Mmio, DescendAscendAndFindFollowChunkOffsets) {
  ASSERT_EQ(bytes.size(), 106u);
  HMMIO h = mmioOpenA(path.data(), nullptr, MMIO_ALLOCBUF | MMIO_READ);
  ASSERT_NE(h, nullptr);

  MMCKINFO riffChunk = {};
  ASSERT_EQ(mmioDescend(h, &riffChunk, nullptr, 0), 0u);
  EXPECT_EQ(riffChunk.ckid, FOURCC_RIFF);
  EXPECT_EQ(riffChunk.cksize, 98u);
  EXPECT_EQ(riffChunk.fccType, mmioFOURCC('W', 'A', 'V', 'E'));
  EXPECT_EQ(riffChunk.dwDataOffset, 8u);
  EXPECT_EQ(mmioSeek(h, 0, SEEK_CUR), 12);

  MMCKINFO list = {};
  list.fccType = mmioFOURCC('I', 'N', 'F', 'O');
  ASSERT_EQ(mmioDescend(h, &list, &riffChunk, MMIO_FINDLIST), 0u);
  EXPECT_EQ(list.dwDataOffset, 20u);
  EXPECT_EQ(mmioSeek(h, 0, SEEK_CUR), 24);
  MMCKINFO inam = {};
  ASSERT_EQ(mmioDescend(h, &inam, &list, 0), 0u);
  EXPECT_EQ(inam.ckid, mmioFOURCC('I', 'N', 'A', 'M'));
  EXPECT_EQ(inam.fccType, 0u);
  EXPECT_EQ(mmioSeek(h, 0, SEEK_CUR), 32);
  ASSERT_EQ(mmioAscend(h, &list, 0), 0u);
  EXPECT_EQ(mmioSeek(h, 0, SEEK_CUR), 34);

  // The odd "junk" chunk is skipped together with its pad byte.
  MMCKINFO data = {};
  data.ckid = mmioFOURCC('d', 'a', 't', 'a');
  ASSERT_EQ(mmioDescend(h, &data, &riffChunk, MMIO_FINDCHUNK), 0u);
  EXPECT_EQ(data.cksize, 27u);
  EXPECT_EQ(data.dwDataOffset, 78u);
  char first = 0;
  ASSERT_EQ(mmioRead(h, &first, 1), 1);
  EXPECT_EQ(first, 1);
  ASSERT_EQ(mmioAscend(h, &data, 0), 0u);
  EXPECT_EQ(mmioSeek(h, 0, SEEK_CUR), 106);
  EXPECT_EQ(mmioRead(h, &first, 1), 0);

  // A search that runs out of chunks fails; so does one outside the parent.
  ASSERT_EQ(mmioSeek(h, 12, SEEK_SET), 12);
  MMCKINFO missing = {};
  missing.ckid = mmioFOURCC('c', 'u', 'e', ' ');
  EXPECT_EQ(mmioDescend(h, &missing, &riffChunk, MMIO_FINDCHUNK), static_cast<MMRESULT>(MMIOERR_CHUNKNOTFOUND));
  ASSERT_EQ(mmioSeek(h, 24, SEEK_SET), 24);
  MMCKINFO fmt = {};
  fmt.ckid = mmioFOURCC('f', 'm', 't', ' ');
  EXPECT_EQ(mmioDescend(h, &fmt, &list, MMIO_FINDCHUNK), static_cast<MMRESULT>(MMIOERR_CHUNKNOTFOUND));
  EXPECT_EQ(mmioClose(h, 0), 0u);
}

TEST_F(Mmio, SeekReportsAbsoluteOffsetsAndEndCountsBackwards) {
  HMMIO h = mmioOpenA(path.data(), nullptr, MMIO_ALLOCBUF);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(mmioSeek(h, 0, SEEK_END), 106);
  EXPECT_EQ(mmioSeek(h, 16, SEEK_END), 90);
  EXPECT_EQ(mmioSeek(h, -10, SEEK_CUR), 80);
  char c = 0;
  ASSERT_EQ(mmioRead(h, &c, 1), 1);
  EXPECT_EQ(c, 3);  // sample bytes start at 78 with the value 1
  EXPECT_EQ(mmioSeek(h, -200, SEEK_CUR), -1);
  mmioClose(h, 0);
}

TEST_F(Mmio, DirectBufferAccessWalksTheWholeFile) {
  MMIOINFO open = {};
  open.cchBuffer = 5;
  HMMIO h = mmioOpenA(path.data(), &open, MMIO_ALLOCBUF | MMIO_READ);
  ASSERT_NE(h, nullptr);
  MMIOINFO info;
  ASSERT_EQ(mmioGetInfo(h, &info, 0), 0u);
  EXPECT_EQ(info.cchBuffer, 5);
  EXPECT_EQ(info.pchNext, info.pchBuffer);
  EXPECT_EQ(info.pchEndRead, info.pchBuffer);
  EXPECT_EQ(info.lBufOffset, 0);

  riff::Bytes seen;
  for (int guard = 0; guard < 1000; ++guard) {
    if (info.pchNext == info.pchEndRead) {
      ASSERT_EQ(mmioAdvance(h, &info, MMIO_READ), 0u);
      if (info.pchNext == info.pchEndRead) break;  // end of file: success, nothing new
      EXPECT_EQ(info.lBufOffset, static_cast<LONG>(seen.size()));
    }
    seen.push_back(static_cast<uint8_t>(*info.pchNext++));
  }
  EXPECT_EQ(seen, bytes);
  ASSERT_EQ(mmioSetInfo(h, &info, 0), 0u);
  EXPECT_EQ(mmioSeek(h, 0, SEEK_CUR), 106);
  mmioClose(h, 0);

  HMMIO byDefault = mmioOpenA(path.data(), nullptr, MMIO_ALLOCBUF);
  ASSERT_EQ(mmioGetInfo(byDefault, &info, 0), 0u);
  EXPECT_EQ(info.cchBuffer, 8192);
  mmioClose(byDefault, 0);
}

TEST_F(Mmio, OpensNamesWhateverTheirCaseAndRefusesMissingFiles) {
  std::string upper = riff::ScratchDir() + "/LAYOUT.WAV";
  HMMIO h = mmioOpenA(upper.data(), nullptr, MMIO_ALLOCBUF);
  ASSERT_NE(h, nullptr);
  mmioClose(h, 0);
  std::string missing = riff::ScratchDir() + "/absent.wav";
  MMIOINFO info = {};
  EXPECT_EQ(mmioOpenA(missing.data(), &info, MMIO_ALLOCBUF), nullptr);
  EXPECT_EQ(info.wErrorRet, static_cast<UINT>(MMIOERR_FILENOTFOUND));
}

}  // namespace
