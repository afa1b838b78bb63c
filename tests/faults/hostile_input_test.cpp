// Damaged source files of ordinary size: a lead byte as the last byte of a file or of a value,
// NUL bytes, binary garbage, broken UTF-16. The run reads what can be read, writes only inside
// the output folder and never stops at the damage.
#include <gtest/gtest.h>

#include <random>

#include "dictionary.h"
#include "recording_host.h"
#include "temp_dir.h"

namespace pem::harden {
namespace {

using pem::testing::Sjis;

struct Converted {
  RunOutcome outcome;
  Tree output;
  std::vector<std::string> changed_outside;
};

Converted Convert(const std::string& categories, const std::string& texts,
                  const std::string& titles) {
  Sandbox sandbox;
  sandbox.WriteSource("pmridata.ini", categories);
  sandbox.WriteSource("dicdata.ini", texts);
  sandbox.WriteSource("expdata.ini", titles);
  const Tree before = Snapshot(sandbox.Root());
  RecordingHost host(sandbox.SourceText(), sandbox.OutputText());
  const RunOutcome outcome = RunConversion(host);
  return {outcome, Snapshot(sandbox.Output()),
          ChangesOutside(before, Snapshot(sandbox.Root()), "box/out")};
}

TEST(LeadByteAtTheEndTest, OfAFileAndOfAValueStaysInTheText) {
  const Converted run =
      Convert("[ItemData]\r\nCount=1\r\n0=c", "[DicData0]\r\nCount=2\r\n0=mid\x81\r\n1=end\x81",
              "[DicExpData0]\r\n0=a\r\n1=b\x81");
  EXPECT_EQ(run.outcome, RunOutcome::kCompleted);
  const Tree expected = {
      {"c", std::nullopt}, {"c/a.txt", "mid\x81\r\n"}, {"c/b\xE3\x83\xBB.txt", "end\x81\r\n"}};
  EXPECT_EQ(run.output, expected);
}

// A category name that ends in a lone lead byte must not swallow the separator after it: its
// entries belong in its folder, not in the output folder under a name fused with the category's.
TEST(LeadByteAtTheEndTest, OfACategoryNameKeepsTheEntriesInTheCategoryFolder) {
  const Converted run = Convert("[ItemData]\r\nCount=2\r\n0=ab\x81\r\n1=\x9f\r\n",
                                "[DicData0]\r\nCount=1\r\n0=x\r\n[DicData1]\r\nCount=1\r\n0=y\r\n",
                                "[DicExpData0]\r\n0=t\r\n[DicExpData1]\r\n0=u\r\n");
  EXPECT_EQ(run.outcome, RunOutcome::kCompleted);
  const Tree expected = {{"ab\xE3\x83\xBB", std::nullopt},
                         {"ab\xE3\x83\xBB/t.txt", "x\r\n"},
                         {"\xE3\x83\xBB", std::nullopt},
                         {"\xE3\x83\xBB/u.txt", "y\r\n"}};
  EXPECT_EQ(run.output, expected);
}

TEST(NulByteTest, AValueStopsAtItsFirstNul) {
  const Converted run = Convert(std::string("[ItemData]\r\nCount=1\0junk\r\n0=c\0d\r\n", 33),
                                std::string("[DicData0]\r\nCount=2\r\n0=ab\0cd\r\n1=\0\r\n", 36),
                                std::string("[DicExpData0]\r\n0=\0x\r\n1=t\0\r\n", 26));
  EXPECT_EQ(run.outcome, RunOutcome::kCompleted);
  const Tree expected = {{"c", std::nullopt}, {"c/.txt", "ab\r\n"}, {"c/t.txt", ""}};
  EXPECT_EQ(run.output, expected);
  EXPECT_TRUE(run.changed_outside.empty());
}

std::string Garbage(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

// Garbage before the first header belongs to no section that is ever read, whatever it holds.
TEST(GarbageTest, BeforeTheFirstHeaderChangesNothing) {
  const Dictionary dictionary = GeneratedDictionary(3, 4);
  const std::string junk = Garbage(1 << 16, 1) + "\r\n";
  const Converted run = Convert(junk + dictionary.CategoriesIni(), junk + dictionary.TextsIni(),
                                junk + dictionary.TitlesIni());
  Sandbox clean;
  dictionary.WriteTo(clean.Source());
  RecordingHost host(clean.SourceText(), clean.OutputText());
  ASSERT_EQ(RunConversion(host), RunOutcome::kCompleted);
  EXPECT_EQ(run.outcome, RunOutcome::kCompleted);
  EXPECT_EQ(run.output, Snapshot(clean.Output()));
}

TEST(GarbageTest, FilesOfNothingButGarbageWriteOnlyInsideTheOutputFolder) {
  for (unsigned seed = 0; seed < 8; ++seed) {
    SCOPED_TRACE(seed);
    const Converted run = Convert("[ItemData]\r\nCount=3\r\n" + Garbage(1 << 14, seed),
                                  "[DicData0]\r\nCount=5\r\n" + Garbage(1 << 14, seed + 100),
                                  Garbage(1 << 14, seed + 200));
    EXPECT_NE(run.outcome, RunOutcome::kToolNotFound);
    EXPECT_TRUE(run.changed_outside.empty()) << ::testing::PrintToString(run.changed_outside);
  }
}

TEST(Utf16Test, BrokenUtf16FilesAreReadAsFarAsTheyGo) {
  const auto utf16 = [](std::string_view ascii, bool odd) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) bytes += std::string{c, '\0'};
    if (odd) bytes += 'Z';
    return bytes;
  };
  const Converted run = Convert(
      utf16("[ItemData]\r\nCount=1\r\n0=c\r\n", true),
      utf16("[DicData0]\r\nCount=1\r\n0=v", false) + std::string("\x00\xD8", 2), "\xFF\xFE");
  EXPECT_EQ(run.outcome, RunOutcome::kCompleted);
  const Tree expected = {{"c", std::nullopt}, {"c/.txt", "v?\r\n"}};
  EXPECT_EQ(run.output, expected);
}

}  // namespace
}  // namespace pem::harden
