// A small stand-in for libFuzzer's driver: feeds LLVMFuzzerTestOneInput random and
// mutated inputs for a bounded time, under the sanitizers of the host build.
// Usage: fuzz_target [seconds] [seed files...]
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
  std::vector<std::vector<std::uint8_t>> pool;
  for (int i = 2; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    pool.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  pool.emplace_back();
  std::mt19937_64 rng(12345);
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  std::uint64_t runs = 0;
  while (std::chrono::steady_clock::now() < end) {
    for (int batch = 0; batch < 256; ++batch, ++runs) {
      std::vector<std::uint8_t> input = pool[rng() % pool.size()];
      switch (rng() % 4) {
        case 0: {  // fresh random bytes, biased to small sizes
          input.resize(rng() % (rng() % 8 == 0 ? 70000 : 300));
          for (auto& b : input) b = static_cast<std::uint8_t>(rng());
          break;
        }
        case 1:  // flip bytes
          for (int k = 0, n = 1 + rng() % 8; k < n && !input.empty(); ++k)
            input[rng() % input.size()] = static_cast<std::uint8_t>(rng());
          break;
        case 2:  // insert printable text, digits and separators
          for (int k = 0, n = 1 + rng() % 16; k < n; ++k) {
            static const char alphabet[] = "0123456789,=-+ \r\n[]xX;.\\/abcABC";
            input.insert(input.begin() + (input.empty() ? 0 : rng() % input.size()),
                         static_cast<std::uint8_t>(alphabet[rng() % (sizeof alphabet - 1)]));
          }
          break;
        default:  // cut
          if (!input.empty()) input.resize(rng() % input.size());
      }
      LLVMFuzzerTestOneInput(input.data(), input.size());
      if (pool.size() < 64 && rng() % 64 == 0) pool.push_back(input);
    }
  }
  std::printf("fuzzed %llu inputs in %.0f s\n", static_cast<unsigned long long>(runs), seconds);
  return 0;
}
