#include "persist/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "persist/codec.h"

namespace pondaro {
namespace {

TEST(Codec, KnownEncodingsAndTheirCodeZeroPrefix) {
  EXPECT_EQ(Base256To2("A"), "01000001");
  EXPECT_EQ(EncodeLine("abc"), "GC2VD");
  EXPECT_EQ(DecodeLine("GC2VD"), std::string("\0abc", 4));
  // "true" is not a multiple of five characters: it comes back behind a code-0 byte.
  EXPECT_EQ(EncodeLine("true").size(), 7u);
  EXPECT_EQ(DecodeLine(EncodeLine("true")), std::string("\0true", 5));
  EXPECT_EQ(EncodeLine("false").size(), 8u);
  EXPECT_EQ(DecodeLine(EncodeLine("false")), "false");
  EXPECT_EQ(DecodeLine("O"), "");
  EXPECT_EQ(DecodeLine(""), "");
}

TEST(Codec, DecoderSkipsCharactersOutsideTheAlphabet) {
  const std::string clean = EncodeLine("Frog5");
  std::string noisy;
  for (char c : clean) noisy += std::string("o I0z ") + c;
  EXPECT_EQ(DecodeLine(noisy + "\r"), "Frog5");
}

TEST(Codec, PaddedTextsOfEveryByteRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  all = PadToFive(all);
  EXPECT_EQ(DecodeLine(EncodeLine(all)), all);
  EXPECT_EQ(PadToFive(""), "");
  EXPECT_EQ(PadToFive("12345"), "12345");
  EXPECT_EQ(PadToFive("3000"), "3000%");
  EXPECT_EQ(StripPadding("Bob%%%"), "Bob");
  EXPECT_EQ(StripPadding("a%b%"), "a%b");
  EXPECT_EQ(StripPadding("%%%%%"), "");
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  std::string l;
  while (std::getline(in, l)) out.push_back(l);
  return out;
}

TEST(SettingsFile, DefaultsAreWrittenWithTheStatedSymbolCounts) {
  SettingsValues v;
  const std::string text = FormatSettings(v);
  auto lines = Lines(text);
  ASSERT_EQ(lines.size(), 25u);
  for (auto& l : lines) {
    ASSERT_EQ(l.back(), '\r');
    l.pop_back();
  }
  EXPECT_EQ(DecodeLine(lines[0]), "false");
  EXPECT_EQ(DecodeLine(lines[1]), std::string("\0true", 5));
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "");
  for (int place = 0; place < 10; ++place) {
    EXPECT_EQ(lines[5 + 2 * place].size(), 16u) << place;  // "Anonymous%"
    EXPECT_EQ(DecodeLine(lines[5 + 2 * place]), "Anonymous%");
    EXPECT_EQ(lines[6 + 2 * place].size(), 8u) << place;
  }
  EXPECT_EQ(DecodeLine(lines[6]), "3000%");
  EXPECT_EQ(DecodeLine(lines[24]), "100%%");
}

class SettingsDir : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/pondaro-settings-XXXXXX";
    dir_ = mkdtemp(tmpl);
    path_ = dir_ + "/Config.cfg";
  }
  void TearDown() override {
    chmod(dir_.c_str(), 0755);
    std::system(("rm -rf " + dir_).c_str());
  }
  std::string dir_, path_;
};

TEST_F(SettingsDir, WrittenFileReadsBackAndShortFilesGiveEmptyLines) {
  SettingsValues v;
  v.FullScreen = true;
  v.Sound = false;
  v.Country = "Narnia";
  v.Name = "Hoppy";  // exactly five: no padding
  v.Table[3] = {"Lily%Pad", -42};
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(path_, FormatSettings(v), error)) << error;
  auto lines = ReadSettingsLines(path_);
  ASSERT_TRUE(lines);
  ASSERT_EQ(lines->size(), 25u);
  EXPECT_NE((*lines)[0], "false");
  EXPECT_EQ((*lines)[2], "false");
  EXPECT_EQ(StripPadding((*lines)[3]), "Narnia");
  EXPECT_EQ((*lines)[4], "Hoppy");
  EXPECT_EQ(StripPadding((*lines)[11]), "Lily%Pad");
  EXPECT_EQ(ParseScore(StripPadding((*lines)[12])), -42);

  std::ofstream(path_, std::ios::binary) << EncodeLine("false") << "\r\n" << EncodeLine("false") << "\r\n";
  lines = ReadSettingsLines(path_);
  ASSERT_TRUE(lines);
  EXPECT_EQ(lines->size(), 25u);
  EXPECT_EQ((*lines)[1], "false");
  EXPECT_EQ((*lines)[2], "");
  EXPECT_FALSE(ReadSettingsLines(dir_ + "/missing.cfg"));
}

TEST_F(SettingsDir, FailedWriteKeepsTheOldFile) {
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(path_, "old\r\n", error));
  if (geteuid() == 0) {
    // Root ignores permissions; a path under a regular file fails for everyone.
    EXPECT_FALSE(WriteFileAtomically(path_ + "/x", "new", error));
  } else {
    chmod(dir_.c_str(), 0555);
    EXPECT_FALSE(WriteFileAtomically(path_, "new\r\n", error));
  }
  EXPECT_NE(error.find("Config.cfg"), std::string::npos);
  std::ifstream in(path_);
  std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(content, "old\r\n");
}

// The user's settings folder is made on the first write: every folder made is
// private, folders that were there keep their permissions.
TEST_F(SettingsDir, MissingFoldersAreMadePrivateAndExistingOnesLeftAlone) {
  const mode_t mask = ::umask(022);
  ASSERT_EQ(::mkdir((dir_ + "/home").c_str(), 0755), 0);
  const std::string folder = dir_ + "/home/.config/pondaro";
  std::string error;
  ASSERT_TRUE(MakeFolders(folder + "/", error)) << error;
  struct stat st;
  for (const std::string& made : {dir_ + "/home/.config", folder}) {
    ASSERT_EQ(::stat(made.c_str(), &st), 0) << made;
    EXPECT_EQ(st.st_mode & 0777, 0700u) << made;
  }
  ASSERT_EQ(::stat((dir_ + "/home").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
  // Again, with the folder there: nothing to do, and its permissions stay.
  ::chmod(folder.c_str(), 0750);
  EXPECT_TRUE(MakeFolders(folder, error)) << error;
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0750u);
  ::umask(mask);

  // A file where a folder should be, at the end or on the way.
  std::ofstream(dir_ + "/plain") << "x";
  for (const std::string& blocked : {dir_ + "/plain", dir_ + "/plain/pondaro"}) {
    error.clear();
    EXPECT_FALSE(MakeFolders(blocked, error)) << blocked;
    EXPECT_NE(error.find(dir_ + "/plain"), std::string::npos) << error;
  }
}

// Files edited or copied on other systems: old Mac line ends, Unix ones, a mix.
TEST_F(SettingsDir, EveryKindOfLineEndReadsAlike) {
  SettingsValues v;
  v.Name = "Hoppy";
  v.Table[9] = {"Last", 7};
  const std::string crlf = FormatSettings(v);
  auto withEnds = [&](const std::vector<std::string>& ends) {
    std::string out;
    size_t i = 0;
    for (const std::string& line : Lines(crlf)) out += line.substr(0, line.size() - 1) + ends[i++ % ends.size()];
    return out;
  };
  std::ofstream(path_, std::ios::binary) << crlf;
  const auto expected = ReadSettingsLines(path_);
  ASSERT_TRUE(expected);
  EXPECT_EQ((*expected)[4], "Hoppy");
  for (const auto& ends : {std::vector<std::string>{"\r"}, {"\n"}, {"\r", "\n", "\r\n"}}) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << withEnds(ends);
    EXPECT_EQ(ReadSettingsLines(path_), expected) << ends.size();
  }
}

// A line far longer than any value is damage: that value keeps its default (the
// window, no name) and the lines after it still count.
TEST_F(SettingsDir, AnOverlongLineKeepsItsDefaultAndReadingGoesOn) {
  SettingsValues v;
  v.Sound = false;
  v.Table[0] = {"Kept", 123};
  auto lines = Lines(FormatSettings(v));
  // Both within the most that is read of a file (kMaxSettingsBytes).
  lines[0] = std::string(10000, 'A') + "\r";
  lines[4] = std::string(50000, 'B') + "\r";
  std::ofstream out(path_, std::ios::binary);
  for (const auto& l : lines) out << l << "\n";
  out.close();
  auto read = ReadSettingsLines(path_);
  ASSERT_TRUE(read);
  // Compared as booleans: a failure must not print megabytes.
  EXPECT_TRUE((*read)[0] == "false");
  EXPECT_TRUE((*read)[2] == "false");
  EXPECT_TRUE((*read)[4].empty()) << (*read)[4].size();
  EXPECT_TRUE(StripPadding((*read)[5]) == "Kept");
  EXPECT_EQ(ParseScore(StripPadding((*read)[6])), 123);
}

// Two copies of the game in one folder each write through a temporary file of
// their own: neither renames the other's away.
TEST_F(SettingsDir, WritersNeverShareATemporaryFile) {
  std::ofstream(path_ + ".tmp") << "another copy, half written";
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(path_, "mine\r\n", error)) << error;
  std::ifstream other(path_ + ".tmp");
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(other)), {}), "another copy, half written");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) files += entry.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 2);
  struct stat st {};
  ASSERT_EQ(stat(path_.c_str(), &st), 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(st.st_mode & 0777, 0644 & ~mask);

  std::atomic<int> failures{0};
  auto writer = [&](const std::string& text) {
    std::string e;
    for (int i = 0; i < 100; ++i)
      if (!WriteFileAtomically(path_, text, e)) ++failures;
  };
  std::thread a(writer, std::string(500, 'a')), b(writer, std::string(500, 'b'));
  a.join();
  b.join();
  EXPECT_EQ(failures, 0);
  std::ifstream in(path_);
  const std::string last((std::istreambuf_iterator<char>(in)), {});
  EXPECT_TRUE(last == std::string(500, 'a') || last == std::string(500, 'b'));
}

TEST(SettingsFile, ScoresMustBeWholeNumbers) {
  EXPECT_EQ(ParseScore("3000"), 3000);
  EXPECT_EQ(ParseScore("-7"), -7);
  EXPECT_EQ(ParseScore("+7"), 7);
  EXPECT_EQ(ParseScore("2147483647"), 2147483647);
  for (const char* bad : {"", "12a", "abc", "2147483648", "+-5", " 5", "1.5"}) EXPECT_FALSE(ParseScore(bad)) << bad;
}

}  // namespace
}  // namespace pondaro
