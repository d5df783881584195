// JPEGs whose tables would take stb_image out of bounds or into memory it
// never set (Huffman counts past 256 codes, lengths overflowing their code
// space, values past their segment, a scan using an undefined Huffman or
// quantisation table), and
// ones its other table readers must refuse (a fifth quantisation table, five
// components, sampling of 5, a fifth Huffman slot). All are cut from an 8 x 8
// grey picture that is valid. The texture tests and the texture fuzzer's
// start-up use them.
#pragma once

#include <string>
#include <utility>
#include <vector>

// 8 x 8, every pixel 128: one DC and one AC table of a single 1-bit code each,
// and one block coding "no change, end of block".
inline std::string GreyJpeg() {
  const std::string dqt = "\xFF\xDB" + std::string("\x00\x43\x00", 3) + std::string(64, '\x01');
  const std::string sof = std::string("\xFF\xC0\x00\x0B\x08\x00\x08\x00\x08\x01\x01\x11\x00", 13);
  const std::string dcTable = std::string("\xFF\xC4\x00\x14\x00\x01", 6) + std::string(16, '\x00');
  const std::string acTable = std::string("\xFF\xC4\x00\x14\x10\x01", 6) + std::string(16, '\x00');
  const std::string sos = std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10);
  return "\xFF\xD8" + dqt + sof + dcTable + acTable + sos + "\x3F\xFF\xD9";
}

// Name, file, and whether the check before stb_image (rather than stb_image
// itself) is the one to refuse it.
struct HostileJpeg {
  std::string name, bytes;
  bool refusedBeforeStb;
};

inline std::vector<HostileJpeg> HostileJpegs() {
  const std::string grey = GreyJpeg();
  const size_t dqt = 2, sof = dqt + 69, dc = sof + 13, ac = dc + 22, sos = ac + 22;
  const auto with = [&](size_t at, const std::string& bytes) {
    return std::string(grey).replace(at, bytes.size(), bytes);
  };
  // 257 codes of 15 and 16 bits: a canonical code, one count too many.
  std::string many =
      std::string("\xFF\xC4\x01\x14\x00", 5) + std::string(14, '\x00') + "\x02\xFF" + std::string(257, '\x00');
  return {
      {"fuzz-dht-counts.jpg",
       std::string("\xFF\xD8\xFF\xFF\xFF\xFF\xC4\x02\x00\x03\xFF\xFF\xFF\xFF\xFC\xFF\xFF\xFF\xFF\xFF\x1F\xFF"
                   "\xFF\xFF\x1F\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xA1\xFC\xFF\x00\x01\x05",
                   38),
       true},
      {"257-codes.jpg", grey.substr(0, dc) + many + grey.substr(dc), true},
      {"three-1-bit-codes.jpg", with(dc + 5, "\x03"), true},
      {"values-past-segment.jpg", with(dc + 3, "\x13"), true},
      {"undefined-table.jpg", with(sos + 6, "\x10"), true},
      {"undefined-quant-table.jpg", with(sof + 12, "\x01"), true},
      {"dqt-slot-4.jpg", with(dqt + 4, "\x04"), false},
      {"five-components.jpg", with(sof + 9, "\x05"), false},
      {"sampling-5.jpg", with(sof + 11, "\x51"), false},
      {"sos-slot-4.jpg", with(sos + 6, "\x44"), false},
  };
}
