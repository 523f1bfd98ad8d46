#include "fileaccess/native_folders.h"

#include <gtest/gtest.h>

#include "fake_check_machine.h"

namespace quarnel {
namespace {

using fake::FakeFullPaths;

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

const SystemFolderFacts kWindows32{false, false, L"C:\\Windows"};
const SystemFolderFacts kWow64{false, true, L"C:\\Windows"};
const SystemFolderFacts kProcess64{true, false, L"C:\\Windows"};

// What each path is handed to the system as, in a 32-bit process on 64-bit
// Windows and in a 64-bit one; "" as written. On 32-bit Windows every path
// goes as written.
TEST(NativeFolderPath, System32AndSysnativeMeanTheNativeFolderInEitherBitness) {
  FakeFullPaths fullPaths;
  fullPaths.currentDirectory = L"C:\\Windows";
  const std::wstring deep = L"\\" + std::wstring(120, L'd') + L"\\" + std::wstring(120, L'e');
  const struct {
    std::wstring given, wow64, process64;
  } cases[] = {
      {L"C:\\Windows\\System32\\winevt\\Logs\\Security.evtx",
       L"C:\\Windows\\Sysnative\\winevt\\Logs\\Security.evtx", L""},
      {L"C:\\Windows\\System32\\*.dll", L"C:\\Windows\\Sysnative\\*.dll", L""},
      {L"c:\\WINDOWS\\system32\\dhcp\\*.mdb", L"c:\\WINDOWS\\Sysnative\\dhcp\\*.mdb", L""},
      {L"C:\\Windows\\Sysnative\\wbem\\Repository\\*", L"",
       L"C:\\Windows\\System32\\wbem\\Repository\\*"},
      {L"C:\\Windows\\SYSNATIVE\\CertLog\\*.edb", L"", L"C:\\Windows\\System32\\CertLog\\*.edb"},
      {L"C:\\Windows\\SysWOW64\\*.dll", L"", L""},
      // The folders' own entries, in the Windows folder, which is not redirected.
      {L"C:\\Windows\\System32", L"", L""},
      {L"C:\\Windows\\sysnative", L"C:\\Windows\\System32", L"C:\\Windows\\System32"},
      // Subfolders that the system never redirects.
      {L"C:\\Windows\\System32\\catroot\\*", L"", L""},
      {L"C:\\Windows\\System32\\CatRoot2\\{x}\\*.cat", L"", L""},
      {L"C:\\Windows\\System32\\DriverStore\\FileRepository\\*", L"", L""},
      {L"C:\\Windows\\System32\\drivers\\etc\\hosts", L"", L""},
      {L"C:\\Windows\\System32\\LogFiles\\*.log", L"", L""},
      {L"C:\\Windows\\System32\\spool\\PRINTERS\\*", L"", L""},
      {L"C:\\Windows\\System32\\drivers\\*.sys", L"C:\\Windows\\Sysnative\\drivers\\*.sys", L""},
      {L"C:\\Windows\\System32\\spooler\\*", L"C:\\Windows\\Sysnative\\spooler\\*", L""},
      {L"C:\\Windows\\Sysnative\\drivers\\etc\\hosts", L"",
       L"C:\\Windows\\System32\\drivers\\etc\\hosts"},
      // Not the Windows folder's System32.
      {L"C:\\Windows\\lastgood\\system32\\*", L"", L""},
      {L"C:\\Windows\\System32x\\*", L"", L""},
      {L"D:\\Windows\\System32\\*", L"", L""},
      {L"\\\\srv\\c$\\Windows\\System32\\*", L"", L""},
      {L"\\\\?\\UNC\\srv\\c$\\Windows\\System32\\*", L"", L""},
      // Relative and unusual forms, by their full path; the last name as written.
      {L"System32\\dhcp\\*.mdb", L"C:\\Windows\\Sysnative\\dhcp\\*.mdb", L""},
      {L"C:/Windows/SysWOW64/../System32/dhcp/*.", L"C:\\Windows\\Sysnative\\dhcp\\*.", L""},
      {L"C:\\Windows\\System32\\dhcp\\..", L"", L""},
      {L"C:\\Windows\\System32\\dhcp\\.", L"C:\\Windows\\Sysnative\\dhcp", L""},
      // The extended form, as written.
      {L"\\\\?\\C:\\Windows\\System32\\dhcp\\*.mdb", L"\\\\?\\C:\\Windows\\Sysnative\\dhcp\\*.mdb",
       L""},
      {L"\\\\?\\c:\\windows\\sysnative\\x.log", L"", L"\\\\?\\c:\\windows\\System32\\x.log"},
      {L"C:\\Windows\\System32" + deep + L"\\*.log", L"C:\\Windows\\Sysnative" + deep + L"\\*.log",
       L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.given));
    EXPECT_EQ(NativeFolderPath(c.given, kWow64, fullPaths).value_or(L""), c.wow64);
    EXPECT_EQ(NativeFolderPath(c.given, kProcess64, fullPaths).value_or(L""), c.process64);
    EXPECT_EQ(NativeFolderPath(c.given, kWindows32, fullPaths), std::nullopt);
  }
  // The Windows folder is the system's, not "C:\Windows".
  const SystemFolderFacts elsewhere{false, true, L"D:\\WINNT"};
  EXPECT_EQ(NativeFolderPath(L"C:\\Windows\\System32\\x", elsewhere, fullPaths), std::nullopt);
  EXPECT_EQ(NativeFolderPath(L"d:\\winnt\\System32\\x", elsewhere, fullPaths),
            L"d:\\winnt\\Sysnative\\x");
  // A long path reaches the system in the extended form of the alias.
  const std::wstring longPath = L"C:\\Windows\\System32" + deep + deep + L"\\a.log";
  EXPECT_EQ(SystemPathFor(*NativeFolderPath(longPath, kWow64, fullPaths), fullPaths).path,
            L"\\\\?\\C:\\Windows\\Sysnative" + deep + deep + L"\\a.log");
}

// A whole check of a 32-bit process on 64-bit Windows: the fake's folders
// stand for what that process sees, System32 showing SysWOW64 and the
// native folder only under the alias.
class Wow64Check : public ::testing::Test, protected fake::CheckMachineAround {
 protected:
  std::wstring Result(const std::wstring& parameters) {
    NativeFolderFileSystem files(wow64View, fullPaths, kWow64);
    return Check(files, parameters).result.value_or(L"(Empty)");
  }

  fake::FakeFileSystem wow64View;
  FakeFullPaths fullPaths;
  const std::uint64_t at8 = wow64View.LocalFileTime(2026, 12, 7, 8, 0, 0);
};

// The check measures the native folder and shows the path as written.
TEST_F(Wow64Check, MeasuresTheNativeFolderAndShowsThePathAsWritten) {
  wow64View.AddFile(L"C:\\Windows\\Sysnative\\qprobe", L"native.log", 10, at8, at8);
  wow64View.AddFile(L"C:\\Windows\\System32\\qprobe", L"wow64.log", 20, at8, at8);
  clock.now = OleDateFromFields({2026, 12, 7, 10, 0, 0});
  const struct {
    std::wstring parameters, result;
  } cases[] = {
      {L"#FILE=C:\\Windows\\System32\\qprobe\\*.log#WHT=SIZE#CMP=GT#VAL=1#UNIT=B#",
       L"Size of C:\\Windows\\System32\\qprobe\\*.log is 10 B"},
      {L"#FILE=C:\\Windows\\Sysnative\\qprobe\\*.log#WHT=SIZE#CMP=GT#VAL=1#UNIT=B#",
       L"Size of C:\\Windows\\Sysnative\\qprobe\\*.log is 10 B"},
      {L"#FILE=C:\\Windows\\System32\\qprobe\\*.log#WHT=OLDWRITE#CMP=GT#VAL=1#UNIT=N#",
       L"C:\\Windows\\System32\\qprobe\\native.log was written 120 minutes ago"},
      {L"#FILE=C:\\Windows\\System32\\qprobe\\wow64.log#WHT=WDATE#CMP=GT#VAL=1#UNIT=N#FNF=T#",
       L"No matching files"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.parameters));
    EXPECT_EQ(Result(c.parameters), c.result);
  }
}

// Walking the Windows folder, System32 (a second view of SysWOW64, a link
// as the fake stands for it) is entered as the native folder, which no
// listing shows, and SysWOW64 is not taken for a folder seen before.
TEST_F(Wow64Check, WalksSystem32AsTheNativeFolderBesideSysWow64) {
  wow64View.AddFile(L"C:\\Windows\\Sysnative", L"native.log", 10, at8, at8);
  wow64View.MarkEntry(L"C:\\Windows", L"Sysnative", kAttributeDirectory | kAttributeHidden);
  wow64View.AddFile(L"C:\\Windows\\SysWOW64", L"wow64.log", 20, at8, at8);
  wow64View.AddFolderLink(L"C:\\Windows\\System32", L"C:\\Windows\\SysWOW64");
  EXPECT_EQ(Result(L"#FILE=C:\\Windows\\*.log#WHT=COUNT#CMP=GT#VAL=9#SUB=T#"),
            L"Number of files matching C:\\Windows\\*.log is 2");
}

}  // namespace
}  // namespace quarnel
