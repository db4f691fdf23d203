// Runs a fuzz target without libFuzzer: every seed file once, then random
// mutations of the seeds (bit flips, byte changes, insertions, cuts, splices)
// until the time budget is spent. The normal build links this so that every
// target runs briefly in the test suite; the clang build (tools/fuzz) uses
// libFuzzer instead.
//
//   <target> [--seconds N] [--seed S] DIR_OR_FILE...

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::string> LoadSeeds(const std::vector<std::string>& paths) {
  std::vector<std::string> seeds;
  auto load = [&seeds](const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  for (const std::string& p : paths) {
    std::error_code ec;
    if (std::filesystem::is_directory(p, ec)) {
      for (const auto& e : std::filesystem::recursive_directory_iterator(p, ec))
        if (e.is_regular_file()) load(e.path());
    } else if (std::filesystem::is_regular_file(p, ec)) {
      load(p);
    }
  }
  if (seeds.empty()) seeds.emplace_back();
  return seeds;
}

std::string Mutate(const std::vector<std::string>& seeds, std::mt19937_64& rng) {
  std::string s = seeds[rng() % seeds.size()];
  const int rounds = 1 + static_cast<int>(rng() % 8);
  for (int r = 0; r < rounds; ++r) {
    const std::size_t n = s.size();
    switch (rng() % 7) {
      case 0:  // flip a bit
        if (n) s[rng() % n] ^= static_cast<char>(1u << (rng() % 8));
        break;
      case 1:  // set a byte to an interesting value
        if (n) {
          static const char kBytes[] = {0,   '\\', '"',  '[',    ']',    ':',    ';',
                                        '=', '\r', '\n', '\x80', '\xbf', '\xe4', '\xff'};
          s[rng() % n] = kBytes[rng() % sizeof kBytes];
        }
        break;
      case 2:  // insert random bytes
        s.insert(n ? rng() % n : 0, std::string(1 + rng() % 8, static_cast<char>(rng())));
        break;
      case 3:  // cut the tail
        if (n) s.resize(rng() % n);
        break;
      case 4:  // erase a range
        if (n > 1) {
          std::size_t a = rng() % n;
          s.erase(a, 1 + rng() % (n - a));
        }
        break;
      case 5: {  // splice a piece of another seed
        const std::string& o = seeds[rng() % seeds.size()];
        if (!o.empty()) {
          std::size_t a = rng() % o.size();
          std::size_t len = 1 + rng() % (o.size() - a);
          s.insert(n ? rng() % n : 0, o.substr(a, len));
        }
        break;
      }
      case 6:  // duplicate a range
        if (n) {
          std::size_t a = rng() % n;
          s.insert(a, s.substr(a, 1 + rng() % (n - a)));
        }
        break;
    }
    if (s.size() > (1u << 20)) s.resize(1u << 20);
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 2;
  std::uint64_t seed = 0x0A7A2E;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
    } else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc) {
      seed = std::strtoull(argv[++i], nullptr, 0);
    } else {
      paths.emplace_back(argv[i]);
    }
  }
  const std::vector<std::string> seeds = LoadSeeds(paths);
  for (const std::string& s : seeds)
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());

  std::mt19937_64 rng(seed);
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  long runs = 0;
  while (std::chrono::steady_clock::now() < end) {
    const std::string input = Mutate(seeds, rng);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    ++runs;
  }
  std::printf("%ld runs over %zu seeds\n", runs, seeds.size());
  return 0;
}
