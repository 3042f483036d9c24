// The counting allocation functions the library's renamed calls reach. This file is linked
// as it is: its own calls go to the real functions.
#include "heap_seam.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<int64_t> g_requested{0};
std::atomic<int64_t> g_failAt{-1};
std::atomic<int64_t> g_failed{0};

// Counts one allocation; true when it is the one that must fail.
bool Fails() {
  const int64_t number = g_requested.fetch_add(1);
  if (number != g_failAt.load()) return false;
  g_failed.fetch_add(1);
  return true;
}

HGLOBAL WINAPI CountedGlobalAlloc(UINT flags, SIZE_T bytes) { return Fails() ? nullptr : GlobalAlloc(flags, bytes); }

}  // namespace

extern "C" {

void* pictornx_seam_malloc(size_t bytes) { return Fails() ? nullptr : std::malloc(bytes); }
void* pictornx_seam_calloc(size_t count, size_t bytes) { return Fails() ? nullptr : std::calloc(count, bytes); }
void* pictornx_seam_realloc(void* block, size_t bytes) {
  return Fails() && bytes != 0 ? nullptr : std::realloc(block, bytes);
}

// operator new (neww) and operator new[] (newa) in each form. The throwing forms fail as
// operator new does: with std::bad_alloc.
#define PICTORNX_SEAM_NEW(name)                                                                       \
  void* name(size_t bytes) {                                                                          \
    if (Fails()) throw std::bad_alloc();                                                              \
    return ::operator new(bytes);                                                                     \
  }                                                                                                   \
  void* name##_nothrow(size_t bytes, const std::nothrow_t&) noexcept {                                \
    return Fails() ? nullptr : ::operator new(bytes, std::nothrow);                                   \
  }                                                                                                   \
  void* name##_aligned(size_t bytes, std::align_val_t alignment) {                                    \
    if (Fails()) throw std::bad_alloc();                                                              \
    return ::operator new(bytes, alignment);                                                          \
  }                                                                                                   \
  void* name##_aligned_nothrow(size_t bytes, std::align_val_t alignment, const std::nothrow_t&) noexcept { \
    return Fails() ? nullptr : ::operator new(bytes, alignment, std::nothrow);                        \
  }
PICTORNX_SEAM_NEW(pictornx_seam_neww)
PICTORNX_SEAM_NEW(pictornx_seam_newa)
#undef PICTORNX_SEAM_NEW

// What the renamed import slot of GlobalAlloc holds.
HGLOBAL(WINAPI* pictornx_seam_GlobalAlloc_import)(UINT, SIZE_T) = CountedGlobalAlloc;

}  // extern "C"

namespace heapseam {

int64_t Requested() { return g_requested.load(); }
void FailAt(int64_t number) { g_failAt.store(number); }
int64_t Failed() { return g_failed.load(); }

}  // namespace heapseam
