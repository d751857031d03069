// The shortest bit stream for some data: numeric, alphanumeric and byte
// segments, chosen for the count widths of each version range, and the
// smallest version that holds the result. Never Kanji mode: readers would
// turn code page 936 or UTF-8 bytes into Shift JIS text.
#pragma once

#include "qr/DataEncoding.h"

#include <cstdint>
#include <vector>

namespace quillet {

namespace qr {

struct Segment {
  Mode mode;
  int32_t start;
  int32_t length;
};

// The segments, in input order, of a shortest stream at the count widths of
// `version`. An ECI header would go in front of them as fixed bits, changing
// no choice here.
std::vector<Segment> ShortestSegments(const uint8_t* data, int32_t length, int version);

// Bits of the segments' stream at the count widths of `version`, without terminator.
int64_t StreamBits(const std::vector<Segment>& segments, int version);

struct SegmentPlan {
  int version = 0;  // 0: no version holds the data
  std::vector<Segment> segments;
  int64_t bits = 0;
};

// The smallest version from `requested` up (0: from 1) whose capacity at
// `level` holds the shortest stream for that version's count widths, after
// `headerBits` of fixed header (an ECI) in front of it.
SegmentPlan PlanSegments(const uint8_t* data, int32_t length, int level, int requested, int headerBits = 0);

// Rewrites `stream` with the plan's segments and the terminator for its version.
void BuildSegmentedBitStream(CQrCodeEncoder::BitStreamEntries& stream, const SegmentPlan& plan, const uint8_t* data,
                             int capacityBits);

}  // namespace qr

}  // namespace quillet
