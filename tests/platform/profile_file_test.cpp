#include "platform/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/text.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "orvane-profile-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    path_ = dir_ + "/gcsz.ini";
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteRaw(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string ReadRaw() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  std::string dir_;
  std::string path_;
};

TEST_F(ProfileFileTest, MissingFileOrKeyReadsEmpty) {
  EXPECT_EQ(ReadProfileString(path_, "GECI", "字体型号"), "");
  EXPECT_FALSE(FileExists(path_));
  WriteRaw(Utf8ToGbk("[GECI]\r\n字体型号=2\r\n"));
  EXPECT_TRUE(FileExists(path_));
  EXPECT_EQ(ReadProfileString(path_, "GECI", "字体大小"), "");
  EXPECT_EQ(ReadProfileString(path_, "OTHER", "字体型号"), "");
  EXPECT_EQ(ReadProfileString(path_, "GECI", "字体型号"), "2");
}

TEST_F(ProfileFileTest, ReadsLikeTheSystemProfileFunctions) {
  WriteRaw(
      Utf8ToGbk("; a comment=not a key\r\n"
                "[other]\r\n字体型号=9\r\n"
                "[  geci ]\r\n"
                "  字体型号  =   2  \r\n"
                "Key=\"quoted value\"\r\n"
                "empty=\r\n"
                "noequals\r\n"
                "[next]\r\nKEY=elsewhere\r\n"));
  EXPECT_EQ(ReadProfileString(path_, "GECI", "字体型号"), "2");        // blanks trimmed, any case
  EXPECT_EQ(ReadProfileString(path_, "geci", "KEY"), "quoted value");  // quotes dropped
  EXPECT_EQ(ReadProfileString(path_, "GECI", "empty"), "");
  EXPECT_EQ(ReadProfileString(path_, "GECI", "noequals"), "");
  EXPECT_EQ(ReadProfileString(path_, "next", "key"), "elsewhere");
}

TEST_F(ProfileFileTest, NewFileIsGbkInWriteOrder) {
  ASSERT_TRUE(WriteProfileString(path_, "GECI", "字体型号", "1"));
  ASSERT_TRUE(WriteProfileString(path_, "GECI", "字体加粗", "真"));
  ASSERT_TRUE(WriteProfileString(path_, "GECI", "字体型号", "2"));  // replaced in place
  EXPECT_EQ(ReadRaw(), Utf8ToGbk("[GECI]\r\n字体型号=2\r\n字体加粗=真\r\n"));
  EXPECT_EQ(ReadProfileString(path_, "GECI", "字体加粗"), "真");
}

TEST_F(ProfileFileTest, WriteKeepsEveryOtherLine) {
  const std::string before = Utf8ToGbk(
      "; settings of the desktop lyrics\n"
      "[Window]\nx=10\n\n"
      "[geci]\n字体大小 = 3\n; keep me\n文字渐变=0\n\n"
      "[Tail]\ny=20");
  WriteRaw(before);
  ASSERT_TRUE(WriteProfileString(path_, "GECI", "文字渐变", "2"));
  ASSERT_TRUE(WriteProfileString(path_, "GECI", "文字颜色1", "255"));  // new key, end of section
  ASSERT_TRUE(WriteProfileString(path_, "Tail", "z", "1"));  // after a last line without LF
  EXPECT_EQ(ReadRaw(), Utf8ToGbk("; settings of the desktop lyrics\n"
                                 "[Window]\nx=10\n\n"
                                 "[geci]\n字体大小 = 3\n; keep me\n文字渐变=2\n文字颜色1=255\n\n"
                                 "[Tail]\ny=20\nz=1\n"));
}

TEST_F(ProfileFileTest, FailedWriteLeavesTheOldFileWhole) {
  const std::string before = Utf8ToGbk("[GECI]\r\n字体型号=1\r\n");
  WriteRaw(before);
  // The settings path taken by a directory: nothing can replace it.
  const std::string dirInPlace = dir_ + "/taken.ini";
  fs::create_directory(dirInPlace);
  fs::create_directory(dirInPlace + "/child");
  EXPECT_FALSE(WriteProfileString(dirInPlace, "GECI", "字体型号", "2"));
  EXPECT_TRUE(fs::is_directory(dirInPlace + "/child"));
  // A file where the directory should be: no temporary file can be made.
  EXPECT_FALSE(WriteProfileString(path_ + "/gcsz.ini", "GECI", "字体型号", "2"));
  EXPECT_EQ(ReadRaw(), before);
  // No temporary files are left behind.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 2);  // gcsz.ini and taken.ini
}

TEST_F(ProfileFileTest, ReplacementKeepsPermissionsAndIsARename) {
  WriteRaw("[GECI]\r\na=1\r\n");
  ::chmod(path_.c_str(), 0640);
  struct stat before {};
  ::stat(path_.c_str(), &before);
  ASSERT_TRUE(WriteProfileString(path_, "GECI", "a", "2"));
  struct stat after {};
  ::stat(path_.c_str(), &after);
  EXPECT_EQ(after.st_mode & 0777, 0640u);
  EXPECT_NE(after.st_ino, before.st_ino);  // a new file took the old one's name
}

TEST_F(ProfileFileTest, NonGbkAndBinaryInputDoNotBreakReading) {
  // UTF-8 bytes that are no GBK, a NUL and random high bytes.
  using namespace std::string_literals;
  const std::string bytes =
      "[GECI]\r\nfont=\xF0\x9F\x8E\xB5\xFF\r\nbin=\x01\x00\x80\xFE\r\nok=5\r\n\xFF\xFE\x00\x81"s;
  WriteRaw(bytes);
  const std::string odd = ReadProfileString(path_, "GECI", "font");
  EXPECT_FALSE(odd.empty());
  EXPECT_EQ(SanitizeUtf8(odd), odd);  // whatever came out is valid UTF-8
  EXPECT_EQ(ReadProfileString(path_, "GECI", "ok"), "5");
  EXPECT_TRUE(WriteProfileString(path_, "GECI", "ok", "6"));
  EXPECT_EQ(ReadProfileString(path_, "GECI", "ok"), "6");
}

TEST_F(ProfileFileTest, LongValuesAreCutToTheReadBuffer) {
  WriteRaw("[GECI]\r\nlong=" + std::string(20000, 'x') + "\r\n");
  EXPECT_EQ(ReadProfileString(path_, "GECI", "long").size(), kProfileValueMax - 1);
  // A double-byte character is never cut in half.
  std::string gbk;
  for (int i = 0; i < 6000; ++i) gbk += Utf8ToGbk("真");
  WriteRaw("[GECI]\r\nlong=x" + gbk + "\r\n");
  std::string expected = "x";
  for (int i = 0; i < 5119; ++i) expected += "真";  // 1 + 5119 * 2 bytes of GBK fit in 10239
  EXPECT_EQ(ReadProfileString(path_, "GECI", "long"), expected);
}

TEST_F(ProfileFileTest, OversizedFileReadsEmptyAndIsNotRewritten) {
  std::string big = "[GECI]\r\na=1\r\n";
  big.resize(10u << 20, 'z');
  WriteRaw(big);
  EXPECT_EQ(ReadProfileString(path_, "GECI", "a"), "");
  EXPECT_FALSE(WriteProfileString(path_, "GECI", "a", "2"));
  EXPECT_EQ(fs::file_size(path_), big.size());
}

TEST(RunDirectoryTest, IsTheDirectoryOfTheTestProgram) {
  const std::string dir = RunDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '/');
  EXPECT_TRUE(fs::exists(dir + "/profile_file_test"));
}

}  // namespace
}  // namespace orvane
