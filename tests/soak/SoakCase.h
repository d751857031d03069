// One soak input: which encoder, its settings and the bytes. Saved failures
// use the same form so that the replay test can run them again.
#pragma once

#include <optional>
#include <string>

struct SoakCase {
  char kind = 'Q';   // 'Q' QR Code, 'D' Data Matrix
  int setting = 0;   // QR: level index; DM: scheme
  int request = 0;   // QR: requested version; DM: requested size
  std::string data;
};

enum class SoakOutcome { NotEncodable, DecodedIdentical, Mismatch, Skipped };

// Encodes and decodes back with zxing-cpp. `decoded` receives what was read.
SoakOutcome RunSoakCase(const SoakCase& c, std::string* decoded = nullptr);

// File form: kind, setting, request + 2, then the data.
std::string SerializeSoakCase(const SoakCase& c);
std::optional<SoakCase> ParseSoakCase(const std::string& bytes);
