// Soak run: random inputs across every QR version and level and every Data
// Matrix scheme and size, each decoded back with both decoders of its format
// (QR Code: zxing-cpp and zbar; Data Matrix: zxing-cpp and libdmtx, 144x144
// libdmtx alone).
//   quillet_soak [COUNT] [SEED] [FAILURE_DIR]
// Draws inputs until COUNT of them have been encoded (inputs that fit no
// symbol are drawn again). Prints "N encoded, N decoded identical, N failures";
// each failing input is saved to FAILURE_DIR
// for the replay test. Progress goes to the standard error stream.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/soak/SoakCase.h"

namespace {

constexpr std::string_view Digits = "0123456789";
constexpr std::string_view Alphanumeric = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
constexpr std::string_view C40Set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
constexpr std::string_view TextSet = "0123456789abcdefghijklmnopqrstuvwxyz ";
constexpr std::string_view X12Set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ *>\r";

std::string RandomFrom(std::mt19937& rng, std::string_view set, size_t length) {
  std::string s(length, ' ');
  for (char& ch : s) ch = set[rng() % set.size()];
  return s;
}

// Characters from `first` to `last`, for the drawing sets above.
std::string Range(int first, int last) {
  std::string s;
  for (int c = first; c <= last; ++c) s += static_cast<char>(c);
  return s;
}
const std::string AllBytes = Range(0, 255), EdifactSet = Range(32, 94);

// Lengths spread evenly on a log scale, so that short and long inputs both occur.
size_t RandomLength(std::mt19937& rng, size_t max) {
  std::uniform_real_distribution<double> exponent(0.0, std::log2(static_cast<double>(max)));
  return std::max<size_t>(1, static_cast<size_t>(std::exp2(exponent(rng))));
}

SoakCase RandomQr(std::mt19937& rng) {
  SoakCase c{'Q', static_cast<int>(rng() % 4), static_cast<int>(rng() % 41), {}};
  const size_t length = RandomLength(rng, 7089);
  switch (rng() % 3) {
    case 0: c.data = RandomFrom(rng, Digits, length); break;
    case 1: c.data = RandomFrom(rng, Alphanumeric, std::min<size_t>(length, 4296)); break;
    default: c.data = RandomFrom(rng, AllBytes, std::min<size_t>(length, 2953)); break;
  }
  return c;
}

SoakCase RandomDm(std::mt19937& rng) {
  const int scheme = static_cast<int>(rng() % 7);
  const int request = static_cast<int>(rng() % 32) - 2;
  const size_t length = RandomLength(rng, 2000);
  std::string data;
  switch (scheme) {
    case 1: data = RandomFrom(rng, C40Set, length); break;
    case 2: data = RandomFrom(rng, TextSet, length); break;
    case 3: data = RandomFrom(rng, X12Set, length); break;
    case 4: data = RandomFrom(rng, EdifactSet, length); break;
    default: data = RandomFrom(rng, AllBytes, length); break;
  }
  return {'D', scheme, request, std::move(data)};
}

constexpr long ProgressEvery = 10000;


void SaveFailure(const std::filesystem::path& dir, long index, const SoakCase& c) {
  std::filesystem::create_directories(dir);
  std::ofstream(dir / ("soak-" + std::to_string(index) + ".case"), std::ios::binary) << SerializeSoakCase(c);
}

}  // namespace

int main(int argc, char** argv) {
  const long count = argc > 1 ? std::stol(argv[1]) : 100000;
  const unsigned seed = argc > 2 ? static_cast<unsigned>(std::stoul(argv[2])) : 20261206u;
  const std::filesystem::path failureDir = argc > 3 ? argv[3] : "soak-failures";
  struct {
    std::atomic<long> encoded{0}, identical{0}, failures{0};
  } totals;
  std::atomic<long> next{0};
  std::mutex saving;
  const auto start = std::chrono::steady_clock::now();
  std::printf("seed %u\n", seed);
  std::fflush(stdout);
  auto worker = [&] {
    while (totals.encoded.load() < count) {
      const long i = next++;
      std::mt19937 rng(seed + static_cast<unsigned>(i));
      const SoakCase c = i % 2 ? RandomDm(rng) : RandomQr(rng);
      const SoakOutcome outcome = RunSoakCase(c);
      if (outcome == SoakOutcome::NotEncodable) continue;
      if (outcome == SoakOutcome::DecodedIdentical) ++totals.identical;
      if (const long done = ++totals.encoded; done % ProgressEvery == 0) {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
        std::fprintf(stderr, "%ld encoded, %ld failures, %lld s\n", done, totals.failures.load(),
                     static_cast<long long>(seconds.count()));
      }
      if (outcome == SoakOutcome::Mismatch) {
        ++totals.failures;
        const std::lock_guard lock(saving);
        SaveFailure(failureDir, i, c);
      }
    }
  };
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < std::max(1u, std::thread::hardware_concurrency()); ++t) threads.emplace_back(worker);
  for (auto& t : threads) t.join();
  std::printf("%ld encoded, %ld decoded identical, %ld failures\n", totals.encoded.load(), totals.identical.load(),
              totals.failures.load());
  return totals.failures.load() == 0 ? 0 : 1;
}
