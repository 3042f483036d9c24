// Memory running out in the library's own code, for the Windows test programs that link the
// shell: every allocation the library's objects make (operator new in all its forms,
// malloc, calloc, realloc, GlobalAlloc; libjpeg-turbo's, libpng's and zlib's included) is
// counted, and a chosen one fails as it would when the heap is exhausted. The test program's
// own allocations (the tests, GoogleTest) are not counted and never fail.
//
// The link (cmake/heap-seam.cmake) gives the program copies of the library's archives whose
// calls to those functions are renamed to the counting ones defined beside this header.
#pragma once

#include <cstdint>

namespace heapseam {

// Allocations the library's code asked for since the program started.
int64_t Requested();
// Makes the allocation with this number (counting from 0 at the start, as Requested does)
// fail, and no other; a negative number turns failing off.
void FailAt(int64_t number);
// How many allocations were made to fail since the start.
int64_t Failed();

}  // namespace heapseam
