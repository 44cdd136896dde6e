// SPDX-License-Identifier: MIT
// Runs a fuzz harness over saved inputs (files, or folders of them), so the
// corpus and every input that once crashed stay tests in ordinary builds.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  size_t count = 0;
  auto run = [&](const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ++count;
  };
  for (int i = 1; i < argc; ++i) {
    if (!std::filesystem::exists(argv[i])) return std::fprintf(stderr, "%s: no such input\n", argv[i]), 1;
    if (!std::filesystem::is_directory(argv[i])) {
      run(argv[i]);
      continue;
    }
    for (auto& entry : std::filesystem::recursive_directory_iterator(argv[i]))
      if (entry.is_regular_file()) run(entry.path());
  }
  std::printf("replayed %zu inputs\n", count);
  return count > 0 ? 0 : 1;
}
