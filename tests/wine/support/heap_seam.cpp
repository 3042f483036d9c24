// The counting allocation functions the library's renamed calls reach. This file is linked
// as it is: its own calls go to the real functions.
#include "heap_seam.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

std::atomic<int64_t> g_requested{0};
std::atomic<int64_t> g_failAt{-1};
std::atomic<int64_t> g_failed{0};

// Counts one allocation; true when it is the one that must fail. With
// PICTORNX_HEAP_TRACE set, the address of the failing call goes to stderr (addr2line -e
// the program finds its line).
bool Fails(void* caller) {
  const int64_t number = g_requested.fetch_add(1);
  if (number != g_failAt.load()) return false;
  g_failed.fetch_add(1);
  if (std::getenv("PICTORNX_HEAP_TRACE")) std::fprintf(stderr, "heap seam: allocation failed, called from %p\n", caller);
  return true;
}
#define PICTORNX_FAILS() Fails(__builtin_return_address(0))

HGLOBAL WINAPI CountedGlobalAlloc(UINT flags, SIZE_T bytes) { return PICTORNX_FAILS() ? nullptr : GlobalAlloc(flags, bytes); }

}  // namespace

extern "C" {

void* pictornx_seam_malloc(size_t bytes) { return PICTORNX_FAILS() ? nullptr : std::malloc(bytes); }
void* pictornx_seam_calloc(size_t count, size_t bytes) { return PICTORNX_FAILS() ? nullptr : std::calloc(count, bytes); }
void* pictornx_seam_realloc(void* block, size_t bytes) {
  return PICTORNX_FAILS() && bytes != 0 ? nullptr : std::realloc(block, bytes);
}

// operator new (neww) and operator new[] (newa) in each form. The throwing forms fail as
// operator new does: with std::bad_alloc.
#define PICTORNX_SEAM_NEW(name)                                                                       \
  void* name(size_t bytes) {                                                                          \
    if (PICTORNX_FAILS()) throw std::bad_alloc();                                                              \
    return ::operator new(bytes);                                                                     \
  }                                                                                                   \
  void* name##_nothrow(size_t bytes, const std::nothrow_t&) noexcept {                                \
    return PICTORNX_FAILS() ? nullptr : ::operator new(bytes, std::nothrow);                                   \
  }                                                                                                   \
  void* name##_aligned(size_t bytes, std::align_val_t alignment) {                                    \
    if (PICTORNX_FAILS()) throw std::bad_alloc();                                                              \
    return ::operator new(bytes, alignment);                                                          \
  }                                                                                                   \
  void* name##_aligned_nothrow(size_t bytes, std::align_val_t alignment, const std::nothrow_t&) noexcept { \
    return PICTORNX_FAILS() ? nullptr : ::operator new(bytes, alignment, std::nothrow);                        \
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
