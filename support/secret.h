#pragma once
// Texts that held a password in clear are overwritten before their memory
// is given back, so that the password does not linger in freed memory.

#include <cstddef>

namespace quarnel {

// Overwrites every character of the text and empties it. The volatile
// stores keep the compiler from dropping the overwrite of memory that is
// about to be freed.
template <typename Text>
void WipeSecret(Text& text) {
  volatile auto* characters = text.data();
  for (std::size_t i = 0; i < text.size(); ++i) characters[i] = 0;
  text.clear();
}

// Wipes the text when the scope ends, on every way out.
template <typename Text>
class WipeOnExit {
 public:
  explicit WipeOnExit(Text& text) : text_(text) {}
  WipeOnExit(const WipeOnExit&) = delete;
  WipeOnExit& operator=(const WipeOnExit&) = delete;
  ~WipeOnExit() { WipeSecret(text_); }

 private:
  Text& text_;
};

}  // namespace quarnel
