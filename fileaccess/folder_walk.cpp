#include "fileaccess/folder_walk.h"

#include <set>
#include <vector>

#include "fileaccess/file_lookup.h"
#include "fileaccess/system_messages.h"
#include "support/text.h"

namespace quarnel {
namespace {

bool IsDotEntry(const FindRecord& record) { return record.name == L"." || record.name == L".."; }

// A pattern that every name matches: the listing of the pattern also
// lists the subfolders, and one pass serves both.
bool MatchesEveryName(const std::wstring& pattern) { return pattern == L"*" || pattern == L"*.*"; }

// Whether a listing of a folder that is there ended as a whole listing
// does: stopped by its visitor, out of entries, or, before the first
// entry, no name matched. "Path not found" here means that the folder went
// away between its identity and its listing.
bool ListedWhole(std::uint32_t code, bool listedAny) {
  return code == 0 || code == kErrorNoMoreFiles || (!listedAny && code == kErrorFileNotFound);
}

// The path by which a folder is opened: without its closing "\", except
// for a drive's root ("C:" alone names the drive's current folder); the
// current folder as ".".
std::wstring OpeningPathOf(const std::wstring& folder) {
  if (folder.empty()) return L".";
  if (EndsWith(folder, L":\\") || !EndsWith(folder, L"\\")) return folder;
  return folder.substr(0, folder.size() - 1);
}

class Walk {
 public:
  Walk(FileSystem& files, TraceSink& trace, const std::wstring& pattern, bool subfolders,
       const FolderEntryVisit& visit)
      : files_(files), trace_(trace), pattern_(pattern), subfolders_(subfolders), visit_(visit) {}

  WalkEnd From(const std::wstring& root) {
    pending_.push_back(root);
    bool first = true;
    while (!pending_.empty() && !end_.stopped && !end_.failure) {
      const std::wstring folder = std::move(pending_.back());
      pending_.pop_back();
      Enter(folder, first);
      first = false;
    }
    return end_;
  }

 private:
  void Enter(const std::wstring& folder, bool isRoot) {
    const IdentityResult identity = files_.IdentityOf(OpeningPathOf(folder));
    if (!identity.identity) {
      if (isRoot && MeansNothingFound(identity.errorCode)) {
        end_.rootSearchCode = identity.errorCode;
        return;
      }
      Fail(folder, identity.errorCode);
      return;
    }
    end_.rootFound = true;
    if (!seen_.insert(*identity.identity).second) {
      trace_.Trace([&] { return L"FOLDER SEEN: " + folder; });
      return;
    }
    trace_.Trace([&] { return L"FOLDER: " + folder; });
    std::vector<std::wstring> below;
    const bool onePass = MatchesEveryName(pattern_);
    const std::uint32_t ended = List(folder, pattern_, [&](const FindRecord& entry) {
      if (onePass) Note(folder, entry, below);
      return visit_(folder, entry);
    });
    if (isRoot) end_.rootSearchCode = ended;
    if (!GoesOn(ended)) return;
    if (subfolders_ && !onePass && !GoesOn(List(folder, L"*", [&](const FindRecord& entry) {
          Note(folder, entry, below);
          return true;
        }))) {
      return;
    }
    // Last in, first out: the subfolders are entered in the order listed.
    pending_.insert(pending_.end(), below.rbegin(), below.rend());
  }

  // Lists folder + pattern and gives the system's code that the listing
  // ended with; the walk ends here when it was stopped or failed.
  template <typename Visit>
  std::uint32_t List(const std::wstring& folder, const std::wstring& pattern, Visit visit) {
    bool listedAny = false;
    const std::uint32_t ended = files_.List(folder + pattern, [&](const FindRecord& entry) {
      listedAny = true;
      return visit(entry);
    });
    if (ended == 0 && !end_.failure) {
      end_.stopped = true;
    } else if (!ListedWhole(ended, listedAny)) {
      Fail(folder, ended);
    }
    return ended;
  }

  // The walk goes on after a listing that ended this way.
  bool GoesOn(std::uint32_t ended) const { return ended != 0 && !end_.failure; }

  // Keeps a subfolder to enter, and says why a link is not entered.
  void Note(const std::wstring& folder, const FindRecord& entry, std::vector<std::wstring>& below) {
    if (!subfolders_ || (entry.attributes & kAttributeDirectory) == 0 || IsDotEntry(entry)) return;
    if (entry.attributes & kAttributeReparsePoint) {
      trace_.Trace([&] { return L"LINK NOT FOLLOWED: " + folder + entry.name + L"\\"; });
      return;
    }
    if (IsFolderToEnter(entry)) below.push_back(folder + entry.name + L"\\");
  }

  void Fail(const std::wstring& folder, std::uint32_t code) {
    end_.failure = FolderFailureText(files_, folder, code);
    end_.errorCode = code;
  }

  FileSystem& files_;
  TraceSink& trace_;
  const std::wstring& pattern_;
  const bool subfolders_;
  const FolderEntryVisit& visit_;
  std::vector<std::wstring> pending_;
  std::set<FolderIdentity> seen_;
  WalkEnd end_;
};

}  // namespace

bool IsFolderToEnter(const FindRecord& record) {
  constexpr std::uint32_t kLeftOut = kAttributeReparsePoint | kAttributeHidden | kAttributeSystem;
  return (record.attributes & kAttributeDirectory) != 0 && (record.attributes & kLeftOut) == 0 &&
         !IsDotEntry(record);
}

WalkEnd WalkFolders(FileSystem& files, TraceSink& trace, const std::wstring& folder,
                    const std::wstring& pattern, bool subfolders, const FolderEntryVisit& visit) {
  return Walk(files, trace, pattern, subfolders, visit).From(folder);
}

std::wstring FolderFailureText(FileSystem& files, const std::wstring& folder, std::uint32_t code) {
  const auto signedCode = static_cast<std::int32_t>(code);
  return L"ERR:" + folder + L" could not be listed: " + GetSystemErrorText(files, signedCode) +
         L" (" + DecimalText(signedCode) + L")";
}

}  // namespace quarnel
