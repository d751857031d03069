// One input a round trip once failed on: which encoder, its settings and
// the bytes, as kept in regressions/ for the replay test.
#pragma once

#include <optional>
#include <string>

#include "tests/support/Decode.h"

struct SoakCase {
  char kind = 'Q';   // 'Q' QR Code, 'D' Data Matrix
  int setting = 0;   // QR: level index; DM: scheme
  int request = 0;   // QR: requested version; DM: requested size
  std::string data;
};

enum class SoakOutcome { NotEncodable, DecodedIdentical, Mismatch };

// Encodes and decodes back with every decoder of the format; identical only
// when each of them read exactly the input. `decoded` receives what they read.
SoakOutcome RunSoakCase(const SoakCase& c, std::optional<std::string>* decoded = nullptr);

// File form: kind, setting, request + 2, then the data.
std::optional<SoakCase> ParseSoakCase(const std::string& bytes);
