#pragma once
// The range of a Monitoring Plugins threshold, "[@][start:][end]": "~" as
// the start is minus infinity, a missing end is infinity, a missing start
// (no ":", or nothing before it) is 0, and "~" alone is 0:0, as the
// Monitoring Plugins library reads them. A value alerts when it lies outside
// the range, the endpoints belonging to it, or inside it when the range
// begins with "@". A number that a double cannot hold exactly (written back
// with as many digits, it would differ) is refused.

#include <optional>
#include <string>

namespace quarnel {

struct AlertRange {
  std::optional<double> start;  // nothing: minus infinity
  std::optional<double> end;    // nothing: infinity
  bool alertInside = false;

  bool Alerts(double value) const;
};

// The range of a text, or why the text is none: "is empty", "has no number
// after its ':'" and the like, to follow the text in a message.
struct ParsedRange {
  std::optional<AlertRange> range;
  std::wstring problem;
};
ParsedRange ParseAlertRange(const std::wstring& text);

// A number as performance data write it: "." as the only decimal point,
// whole numbers without a point or an exponent.
std::wstring PerformanceNumberText(double value);

// The range as performance data write it.
std::wstring AlertRangeText(const AlertRange& range);

}  // namespace quarnel
