// Fails the k-th allocation of a Data Matrix encoding for every k until the
// encoding needs no more: each must end in the "Calloc failed" message, no
// result, the caller's size and parameters untouched and nothing leaked.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "datamatrix/DmEncoder.h"

namespace {

std::atomic<long> allocationsUntilFailure{-1};  // -1: never fail
std::atomic<long> liveAllocations{0};

void* Allocate(std::size_t size) {
  if (allocationsUntilFailure.load() == 0) throw std::bad_alloc();
  if (allocationsUntilFailure.load() > 0) --allocationsUntilFailure;
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  ++liveAllocations;
  return p;
}

void Release(void* p) {
  if (!p) return;
  --liveAllocations;
  std::free(p);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

namespace {

struct Case {
  const char* text;
  int scheme;
  int size;
};

TEST(DmAllocationFailure, EveryAllocationFailsCleanly) {
  const Case cases[] = {{"A", Ascii, -1}, {"Hello, 123456 world", Auto, -1}, {"AIMAIMAIM", C40, -1},
                        {"ABC", Edifact, -2}, {"binary \x80\xff", Base256, 23}};
  for (const Case& c : cases) {
    const std::string text = c.text;
    // One clean run first: tables the encoder builds once and keeps are not leaks.
    {
      DmEncodeParams warmUp;
      warmUp.scheme = c.scheme;
      int size = c.size;
      ASSERT_TRUE(DmEncodeText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()), warmUp, size))
          << c.text;
    }
    bool succeeded = false;
    for (long failAt = 0; !succeeded && failAt < 1000; ++failAt) {
      DmEncodeParams params;
      params.scheme = c.scheme;
      int size = c.size;
      testing::internal::CaptureStderr();
      const long liveBefore = liveAllocations.load();
      allocationsUntilFailure = failAt;
      std::unique_ptr<DmModuleGrid> grid =
          DmEncodeText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()), params, size);
      allocationsUntilFailure = -1;
      succeeded = grid != nullptr;
      const bool untouched = size == c.size && !params.buffers && params.symbolRows == 0;
      grid.reset();
      params.buffers.reset();
      const long leaked = liveAllocations.load() - liveBefore;
      const std::string err = testing::internal::GetCapturedStderr();
      EXPECT_EQ(leaked, 0) << c.text << " failing allocation " << failAt;
      if (!succeeded) {
        EXPECT_EQ(err.rfind("Calloc failed: ", 0), 0u) << c.text << " failing allocation " << failAt << ": " << err;
        EXPECT_TRUE(untouched) << c.text << " failing allocation " << failAt;
      }
    }
    EXPECT_TRUE(succeeded) << c.text;
  }
}

}  // namespace
