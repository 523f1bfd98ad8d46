#include "fileaccess/file_lookup.h"

#include <cstdint>
#include <limits>

#include "support/check_error.h"
#include "support/text.h"

namespace quarnel {
namespace {

constexpr double kTwoToThe32 = 4294967296.0;

// The largest amount that a signed 64-bit count of 1/10000 units holds.
constexpr double kLargestFixedPointAmount =
    static_cast<double>(std::numeric_limits<std::int64_t>::max()) / 10000.0;

}  // namespace

double SizeFromHalves(std::uint32_t high, std::uint32_t low) {
  const double bytes = high * kTwoToThe32 + static_cast<double>(low);
  // Sizes have always been handed on as fixed-point amounts. A byte count is
  // a whole number, which the amount holds exactly, so only its range can
  // change the result: beyond it the size is an overflow, not a rounded
  // number.
  if (bytes > kLargestFixedPointAmount) throw CheckError(ErrorNumber::Overflow);
  return bytes;
}

double FileLengthOf(const FindRecord& record) {
  return SizeFromHalves(record.sizeHigh, record.sizeLow);
}

double GetFileLength(FileSystem& files, const std::wstring& path, std::wstring& errorText) {
  const FindResult found = files.FindFirst(path);
  if (!found.found) {
    errorText = GetSystemErrorText(files, static_cast<std::int32_t>(found.errorCode));
    return -1;
  }
  errorText.clear();
  return FileLengthOf(found.record);
}

bool MeansNothingFound(std::uint32_t errorCode) {
  constexpr std::uint32_t kPathNotFound = 3;
  return errorCode == kErrorFileNotFound || errorCode == kPathNotFound ||
         errorCode == kErrorNoMoreFiles;
}

}  // namespace quarnel
