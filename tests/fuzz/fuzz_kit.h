// What the fuzz tests share: their seed corpora (tests/corpus/<reader>/, every
// file a regression input), a seeded mutator, and a time budget (3 s in
// `make test`; PONDARO_FUZZ_SECONDS sets it, `make fuzz` runs minutes). A failing
// input is written to /tmp so it can be added to the corpus.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace pondaro::test {

using Bytes = std::vector<uint8_t>;

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The corpus files of one reader, in name order.
inline std::vector<Bytes> Corpus(const std::string& reader) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(PONDARO_SOURCE_DIR) / "tests" / "corpus" / reader;
  std::vector<fs::path> paths;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec))
    if (e.is_regular_file()) paths.push_back(e.path());
  std::sort(paths.begin(), paths.end());
  std::vector<Bytes> out;
  for (const auto& p : paths) out.push_back(ReadBytes(p.string()));
  return out;
}

// Keeps an input that broke something, for the corpus; returns where.
inline std::string KeepFailure(const std::string& reader, uint64_t seed, long n, const Bytes& input) {
  const std::string path =
      "/tmp/pondaro-fuzz-" + reader + "-" + std::to_string(seed) + "-" + std::to_string(n) + ".bin";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(input.data()), input.size());
  return path;
}

class FuzzBudget {
 public:
  explicit FuzzBudget(double defaultSeconds = 3) {
    const char* s = std::getenv("PONDARO_FUZZ_SECONDS");
    seconds_ = s && *s ? std::atof(s) : defaultSeconds;
  }
  // Goes on until the time is up, but always runs `minimum` cases.
  bool More(long done, long minimum) const {
    return done < minimum ||
           std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count() < seconds_;
  }
  double Seconds() const { return seconds_; }

 private:
  double seconds_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

inline uint64_t FuzzSeed(uint64_t fallback) {
  const char* s = std::getenv("PONDARO_FUZZ_SEED");
  return s && *s ? std::strtoull(s, nullptr, 10) : fallback;
}

// Byte-level damage of the kinds files and replies suffer: flipped bits, bytes set
// to edge values, runs inserted, dropped, repeated or spliced in from another
// input, cuts, and line ends traded for one another.
class Mutator {
 public:
  explicit Mutator(uint64_t seed) : rng_(seed) {}

  size_t Pick(size_t n) { return n == 0 ? 0 : static_cast<size_t>(rng_() % n); }

  Bytes Mutate(Bytes b, const std::vector<Bytes>& others) {
    for (int steps = 1 + static_cast<int>(Pick(4)); steps > 0; --steps) Step(b, others);
    return b;
  }

 private:
  void Step(Bytes& b, const std::vector<Bytes>& others) {
    static const uint8_t edges[] = {0, 1, 0x7F, 0x80, 0xFF, '\r', '\n', '%', '-', '9', 'A'};
    switch (Pick(b.empty() ? 3 : 10)) {
      case 0: {  // insert a run of one byte, sometimes a long one
        const size_t n = Pick(8) == 0 ? 1 + Pick(70000) : 1 + Pick(16);
        b.insert(b.begin() + static_cast<long>(Pick(b.size() + 1)), n, edges[Pick(std::size(edges))]);
        break;
      }
      case 1: {  // insert random bytes
        Bytes r(1 + Pick(32));
        for (auto& c : r) c = static_cast<uint8_t>(rng_());
        b.insert(b.begin() + static_cast<long>(Pick(b.size() + 1)), r.begin(), r.end());
        break;
      }
      case 2: {  // splice a piece of another input
        if (others.empty()) break;
        const Bytes& o = others[Pick(others.size())];
        if (o.empty()) break;
        const size_t from = Pick(o.size()), n = 1 + Pick(o.size() - from);
        b.insert(b.begin() + static_cast<long>(Pick(b.size() + 1)), o.begin() + static_cast<long>(from),
                 o.begin() + static_cast<long>(from + n));
        break;
      }
      case 3: b[Pick(b.size())] ^= static_cast<uint8_t>(1u << Pick(8)); break;
      case 4: b[Pick(b.size())] = edges[Pick(std::size(edges))]; break;
      case 5: b[Pick(b.size())] = static_cast<uint8_t>(rng_()); break;
      case 6: {  // drop a run
        const size_t at = Pick(b.size()), n = 1 + Pick(std::min<size_t>(b.size() - at, 64));
        b.erase(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + n));
        break;
      }
      case 7: {  // repeat a run
        const size_t at = Pick(b.size()), n = 1 + Pick(std::min<size_t>(b.size() - at, 64));
        Bytes run(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + n));
        b.insert(b.begin() + static_cast<long>(at), run.begin(), run.end());
        break;
      }
      case 8: b.resize(Pick(b.size() + 1)); break;  // cut
      default: {  // every line end of one kind becomes another
        static const char* ends[] = {"\r\n", "\n", "\r", "\n\r", ""};
        const std::string from = ends[Pick(3)], to = ends[Pick(5)];
        std::string s(b.begin(), b.end()), out;
        for (size_t i = 0; i < s.size();) {
          if (s.compare(i, from.size(), from) == 0) {
            out += to;
            i += from.size();
          } else {
            out += s[i++];
          }
        }
        b.assign(out.begin(), out.end());
        break;
      }
    }
  }

  std::mt19937_64 rng_;
};

}  // namespace pondaro::test
