// Runs a fuzz target once on each given file and each file of the given
// corpus folders, without libFuzzer: the corpus (crashes found earlier among
// it) as regression tests.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  // The target may change the working directory: the folders are taken first.
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path given = std::filesystem::absolute(argv[i]);
    if (!std::filesystem::is_directory(given)) inputs.push_back(given);
    if (!std::filesystem::is_directory(given)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(given)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  }
  LLVMFuzzerInitialize(&argc, &argv);
  for (const std::filesystem::path& input : inputs) {
    std::ifstream file(input, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%zu inputs ran\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
