#pragma once
// The Automation services and the clock of the real machine: oleaut32 with
// the user's regional settings, and the local time of the system clock.

#include "support/automation.h"

namespace quarnel {

class SystemAutomation : public Automation {
 public:
  std::wstring FormatDate(OleDate value, const std::wstring& picture) override;
  std::wstring FormatNumber(double value, const std::wstring& picture) override;
  std::optional<OleDate> DateFromText(const std::wstring& text) override;
  std::wstring GeneralDateText(OleDate value) override;
  std::wstring NumberText(double value) override;
  std::optional<double> NumberFromRegionalText(const std::wstring& text) override;
  DigitGrouping RegionalDigitGrouping() override;
};

// The current local time to the whole second (GetLocalTime without its
// milliseconds, as Automation's Now gives it).
class SystemClock : public Clock {
 public:
  OleDate Now() override;
};

}  // namespace quarnel
