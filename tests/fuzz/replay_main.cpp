// Replays fuzz corpora without libFuzzer, so that a compiler without it (g++)
// still runs every seed input through its target, under the same sanitizers
// as the unit tests. Each argument is a corpus directory or one input file;
// a property that fails aborts, as it does under libFuzzer.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(data.data(), data.size());
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::directory_iterator(path)) {
        if (entry.is_regular_file()) Replay(entry.path()), ++replayed;
      }
    } else {
      Replay(path), ++replayed;
    }
  }
  std::printf("replayed %zu inputs\n", replayed);
  // A corpus that holds nothing replays nothing: that is a broken test.
  return replayed == 0 ? 1 : 0;
}
