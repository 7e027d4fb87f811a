#include "db/gbk.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using db::decodeGbk;
using db::encodeGbk;

TEST(DecodeGbk, KeepsAsciiAndDecodesChineseText) {
  EXPECT_EQ(decodeGbk("Beam_12, 0.5*300\t\n"), "Beam_12, 0.5*300\t\n");
  EXPECT_EQ(decodeGbk(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(decodeGbk("\xbd\xd8\xc3\xe6\xc0\xe0\xd0\xcd"), "截面类型");
  EXPECT_EQ(decodeGbk("Beam_7, \xbd\xd8\xc3\xe6\xc0\xe0\xd0\xcd"
                      "3\xce\xb4\xb6\xa8\xd2\xe5"),
            "Beam_7, 截面类型3未定义");
}

TEST(DecodeGbk, ReadsGbkWhereItDiffersFromGb2312) {
  EXPECT_EQ(decodeGbk("\x81\x40"), "丂");  // only in the GBK extension
  EXPECT_EQ(decodeGbk("\xa2\xa1"), "ⅰ");
  EXPECT_EQ(decodeGbk("\xa1\xaa"), "\u2014");  // GB2312 readers give U+2015
  EXPECT_EQ(decodeGbk("\xa8\x44"), "\u2015");
  EXPECT_EQ(decodeGbk("\xa1\xa4"), "\u00b7");  // GB2312 readers give U+30FB
}

TEST(DecodeGbk, DropsBytesThatCannotStartACharacter) {
  EXPECT_EQ(decodeGbk("\x80"), "");  // not the euro sign of code page 936
  EXPECT_EQ(decodeGbk("\xff"), "");
  EXPECT_EQ(decodeGbk("\xd6\xd0\x80\xce\xc4\xff!"), "中文!");
}

TEST(DecodeGbk, DropsALeadByteWithAnInvalidTrailAndRereadsTheTrail) {
  EXPECT_EQ(decodeGbk("\x81\x7f"), "\x7f");
  EXPECT_EQ(decodeGbk("\xa1\x40"), "@");
  EXPECT_EQ(decodeGbk("\x81\x30mm"), "0mm");
  // The re-read byte starts the next character: A2A0 is no pair, A0D6 is.
  EXPECT_EQ(decodeGbk("\xa2\xa0\xd6\xd0"), "犞");
  EXPECT_EQ(decodeGbk("\xfe\xfe"), "");
}

TEST(DecodeGbk, DropsALoneLeadByteAtTheEnd) {
  EXPECT_EQ(decodeGbk("abc\xd6"), "abc");
  EXPECT_EQ(decodeGbk("\xd6\xd0\xd6"), "中");
}

TEST(EncodeGbk, IsTheInverseOfDecoding) {
  for (const char* s : {"截面类型3未定义", "丂ⅰ\u2014\u2015\u00b7", "Slab_3 梁 150", ""}) {
    EXPECT_EQ(decodeGbk(encodeGbk(s)), s);
  }
  EXPECT_EQ(encodeGbk("截面类型"), "\xbd\xd8\xc3\xe6\xc0\xe0\xd0\xcd");
}

TEST(EncodeGbk, RefusesWhatGbkCannotHoldAndMalformedUtf8) {
  EXPECT_THROW((void)encodeGbk("\u20ac"), std::invalid_argument);  // euro sign
  EXPECT_THROW((void)encodeGbk("\U0001F600"), std::invalid_argument);
  EXPECT_THROW((void)encodeGbk("\xd6\xd0"), std::invalid_argument);  // GBK, not UTF-8
  EXPECT_THROW((void)encodeGbk("ab\xe4\xb8"), std::invalid_argument);
  EXPECT_THROW((void)encodeGbk("\xc0\xaf"), std::invalid_argument);  // overlong
}

// --- Against the reference codec, where python3 is installed ----------------------------------

bool havePython() { return std::system("python3 -c pass >/dev/null 2>&1") == 0; }

std::string readFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

// A fresh folder under the temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& stem)
      : path_(std::filesystem::temp_directory_path() / (stem + "_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

TEST(GbkTable, MatchesWhatItsGeneratorWritesToday) {
  if (!havePython()) GTEST_SKIP() << "python3 is not installed; the table cannot be regenerated";
  const std::filesystem::path source = SDB2IFC_TEST_SOURCE_DIR;
  const ScratchFolder scratch("gbk_table");
  const std::filesystem::path fresh = scratch.path() / "gbk_table.cpp";
  const std::string cmd = "python3 '" + (source / "tools" / "gen_gbk_table.py").string() +
                          "' --output '" + fresh.string() + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  EXPECT_TRUE(readFile(fresh) == readFile(source / "src" / "db" / "generated" / "gbk_table.cpp"))
      << "src/db/generated/gbk_table.cpp is stale: run python3 tools/gen_gbk_table.py";
}

TEST(DecodeGbk, AgreesWithPythonsCodecOnRandomBytes) {
  if (!havePython()) GTEST_SKIP() << "python3 is not installed";
  // Bytes drawn mostly from the troublesome ranges: lead bytes, trail bytes, 0x80, 0xFF.
  std::mt19937 rng(20240601);
  const std::vector<int> pool = {0x00, 0x30, 0x40, 0x7e, 0x7f, 0x80, 0x81, 0xa0,
                                 0xa1, 0xa2, 0xa8, 0xaa, 0xd6, 0xd0, 0xfe, 0xff};
  std::vector<std::string> samples;
  for (int n = 0; n < 3000; ++n) {
    std::string s(rng() % 9, '\0');
    for (char& c : s) {
      c = static_cast<char>(rng() % 3 == 0 ? rng() % 256 : pool[rng() % pool.size()]);
    }
    samples.push_back(s);
  }
  const ScratchFolder scratch("gbk_random");
  const std::filesystem::path& dir = scratch.path();
  {
    std::ofstream out(dir / "in.txt");
    for (const auto& s : samples) out << hex(s) << '\n';
  }
  const std::string cmd =
      "python3 -c \"import sys\n"
      "src, dst = sys.argv[1:]\n"
      "lines = open(src).read().splitlines()\n"
      "out = [bytes.fromhex(l).decode('gbk', 'ignore').encode('utf-8').hex() for l in lines]\n"
      "open(dst, 'w').write(''.join(o + '\\n' for o in out))\" '" +
      (dir / "in.txt").string() + "' '" + (dir / "out.txt").string() + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  std::istringstream expected(readFile(dir / "out.txt"));
  std::string line;
  for (const auto& s : samples) {
    ASSERT_TRUE(std::getline(expected, line));
    EXPECT_EQ(hex(decodeGbk(s)), line) << "input " << hex(s);
  }
}

}  // namespace
