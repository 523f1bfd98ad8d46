#include "registry/machine_registry.h"

namespace quarnel {

std::wstring StripTrailingNul(const std::wstring& text) {
  if (!text.empty() && text.back() == L'\0') return text.substr(0, text.size() - 1);
  return text;
}

}  // namespace quarnel
