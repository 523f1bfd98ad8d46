#include "fileaccess/folder_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_machine.h"
#include "fileaccess/long_paths.h"

namespace quarnel {
namespace {

using fake::FakeFileSystem;
using fake::FakeFullPaths;
using fake::RecordingTraceSink;
using Lines = std::vector<std::wstring>;

class FolderWalkTest : public ::testing::Test {
 protected:
  FolderWalkTest() {
    files.AddFile(L"C:\\logs", L"top.log");
    files.AddFile(L"C:\\logs", L"top.txt");
    files.AddFile(L"C:\\logs\\a", L"a1.log");
    files.AddFile(L"C:\\logs\\a\\deep", L"d1.log");
    files.AddFile(L"C:\\logs\\a\\deep\\deeper", L"d2.log");
    files.AddFile(L"C:\\logs\\b", L"b1.log");
  }

  // The matching plain files that the walk passes, with their folders.
  WalkEnd Walk(const std::wstring& folder, const std::wstring& pattern, bool subfolders,
               FileSystem& system) {
    visited.clear();
    return WalkFolders(system, trace, folder, pattern, subfolders,
                       [&](const std::wstring& in, const FindRecord& entry) {
                         if (!(entry.attributes & kAttributeDirectory)) visited.push_back(in + entry.name);
                         return true;
                       });
  }
  WalkEnd Walk(const std::wstring& folder, const std::wstring& pattern, bool subfolders = true) {
    return Walk(folder, pattern, subfolders, files);
  }

  FakeFileSystem files;
  RecordingTraceSink trace;
  Lines visited;
};

TEST_F(FolderWalkTest, VisitsEveryFolderAtAnyDepthInListingOrderAndTracesEach) {
  const WalkEnd end = Walk(L"C:\\logs\\", L"*.log");
  EXPECT_TRUE(end.rootFound);
  EXPECT_FALSE(end.failure);
  EXPECT_EQ(visited, (Lines{L"C:\\logs\\top.log", L"C:\\logs\\a\\a1.log", L"C:\\logs\\a\\deep\\d1.log",
                            L"C:\\logs\\a\\deep\\deeper\\d2.log", L"C:\\logs\\b\\b1.log"}));
  EXPECT_EQ(trace.lines, (Lines{L"FOLDER: C:\\logs\\", L"FOLDER: C:\\logs\\a\\", L"FOLDER: C:\\logs\\a\\deep\\",
                                L"FOLDER: C:\\logs\\a\\deep\\deeper\\", L"FOLDER: C:\\logs\\b\\"}));
}

TEST_F(FolderWalkTest, WithoutSubfoldersListsTheFirstFolderOnly) {
  Walk(L"C:\\logs\\", L"*.log", false);
  EXPECT_EQ(visited, (Lines{L"C:\\logs\\top.log"}));
  EXPECT_EQ(files.searches, 1);
}

TEST_F(FolderWalkTest, APatternOfEveryNameListsEachFolderOnce) {
  Walk(L"C:\\logs\\", L"*");
  EXPECT_EQ(visited.size(), 6u);
  EXPECT_EQ(files.searches, 5);  // five folders, one listing each
}

TEST_F(FolderWalkTest, LinksHiddenAndSystemFoldersAreNotEntered) {
  FakeFileSystem marked;
  marked.AddFile(L"C:\\logs", L"top.log");
  const std::pair<const wchar_t*, std::uint32_t> folders[] = {
      {L"junction", kAttributeReparsePoint}, {L"hidden", kAttributeHidden}, {L"system", kAttributeSystem}};
  for (const auto& [name, attribute] : folders) {
    marked.AddFile(std::wstring(L"C:\\logs\\") + name, L"x.log");
    marked.MarkEntry(L"C:\\logs", name, kAttributeDirectory | attribute);
  }
  Walk(L"C:\\logs\\", L"*.log", true, marked);
  EXPECT_EQ(visited, (Lines{L"C:\\logs\\top.log"}));
  EXPECT_EQ(trace.lines, (Lines{L"FOLDER: C:\\logs\\", L"LINK NOT FOLLOWED: C:\\logs\\junction\\"}));
}

TEST_F(FolderWalkTest, ALoopOfLinksEndsWithEachRealFolderOnce) {
  files.AddFolderLink(L"C:\\logs\\a\\deep\\up", L"C:\\logs");
  files.AddFolderLink(L"C:\\logs\\b\\again", L"C:\\logs\\b");
  const WalkEnd end = Walk(L"C:\\logs\\", L"*.log");
  EXPECT_FALSE(end.failure);
  EXPECT_EQ(visited.size(), 5u);
  EXPECT_EQ(trace.lines.size(), 7u);
  EXPECT_EQ(trace.lines[4], L"FOLDER SEEN: C:\\logs\\a\\deep\\up\\");
  EXPECT_EQ(trace.lines[6], L"FOLDER SEEN: C:\\logs\\b\\again\\");
}

struct FailureCase {
  const wchar_t* failedPath;
  std::uint32_t code;
  const wchar_t* text;
};

TEST_F(FolderWalkTest, AFolderThatCannotBeListedFailsTheWalkNamingIt) {
  const FailureCase cases[] = {
      // denied: the listing of the pattern, or of the subfolders
      {L"C:\\logs\\a\\deep\\*.log", 5, L"ERR:C:\\logs\\a\\deep\\ could not be listed: Access is denied. (5)"},
      {L"C:\\logs\\b\\*", 5, L"ERR:C:\\logs\\b\\ could not be listed: Access is denied. (5)"},
      // vanished before it was opened, or between opening and listing
      {L"C:\\logs\\b", 3,
       L"ERR:C:\\logs\\b\\ could not be listed: The system cannot find the path specified. (3)"},
      {L"C:\\logs\\a\\*.log", 3,
       L"ERR:C:\\logs\\a\\ could not be listed: The system cannot find the path specified. (3)"},
      // denied before it was opened
      {L"C:\\logs\\a\\deep\\deeper", 5,
       L"ERR:C:\\logs\\a\\deep\\deeper\\ could not be listed: Access is denied. (5)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.failedPath, c.failedPath + wcslen(c.failedPath)));
    FakeFileSystem tree = files;
    tree.FailSearch(c.failedPath, c.code);
    const WalkEnd end = Walk(L"C:\\logs\\", L"*.log", true, tree);
    ASSERT_TRUE(end.failure);
    EXPECT_EQ(*end.failure, c.text);
    EXPECT_EQ(end.errorCode, c.code);
  }
}

TEST_F(FolderWalkTest, AListingCutShortFailsTheWalk) {
  files.FailListingAfter(L"C:\\logs\\a\\*", 0, 59);
  const WalkEnd end = Walk(L"C:\\logs\\", L"*");
  ASSERT_TRUE(end.failure);
  EXPECT_EQ(end.errorCode, 59u);
}

TEST_F(FolderWalkTest, OnlyAMissingFirstFolderIsNothingFound) {
  WalkEnd end = Walk(L"C:\\none\\", L"*.log");
  EXPECT_FALSE(end.rootFound);
  EXPECT_FALSE(end.failure);
  EXPECT_EQ(end.rootSearchCode, fake::kErrorPathNotFound);
  EXPECT_TRUE(trace.lines.empty());

  files.AddDirectory(L"C:\\empty");
  end = Walk(L"C:\\empty\\", L"*.log");
  EXPECT_TRUE(end.rootFound);
  EXPECT_FALSE(end.failure);
  EXPECT_EQ(end.rootSearchCode, fake::kErrorFileNotFound);
  EXPECT_TRUE(visited.empty());

  files.FailSearch(L"C:\\logs", 5);
  end = Walk(L"C:\\logs\\", L"*.log");
  ASSERT_TRUE(end.failure);
  EXPECT_EQ(end.errorCode, 5u);
}

TEST_F(FolderWalkTest, TheVisitorStopsTheWalk) {
  int passed = 0;
  const WalkEnd end = WalkFolders(files, trace, L"C:\\logs\\", L"*.log", true,
                                  [&](const std::wstring&, const FindRecord&) { return ++passed < 2; });
  EXPECT_TRUE(end.stopped);
  EXPECT_FALSE(end.failure);
  EXPECT_EQ(passed, 2);
}

TEST_F(FolderWalkTest, DeepPathsGoInTheExtendedFormAndTooLongOnesFailNamingTheFolder) {
  FakeFullPaths fullPaths;
  LongPathFileSystem longPaths{files, fullPaths};
  std::wstring deep = L"C:\\logs\\b";
  const std::wstring name(255, L'n');
  while (deep.size() < 600) deep += L"\\" + name;
  files.AddFile(deep, L"far.log");
  Walk(L"C:\\logs\\", L"*.log", true, longPaths);
  ASSERT_EQ(visited.size(), 6u);
  EXPECT_EQ(visited.back(), deep + L"\\far.log");

  while (deep.size() < 32800) deep += L"\\" + name;
  files.AddFile(deep, L"beyond.log");
  const WalkEnd end = Walk(L"C:\\logs\\", L"*.log", true, longPaths);
  ASSERT_TRUE(end.failure);
  EXPECT_EQ(end.errorCode, kErrorFilenameTooLong);
  EXPECT_NE(end.failure->find(L" could not be listed: The filename or extension is too long. (206)"),
            std::wstring::npos);
}

}  // namespace
}  // namespace quarnel
