// A program that links the shell itself (the Windows test and timing programs) starts it
// as loading the DLL does, before its main runs; its own module holds the resources.
#include "host/library.h"

namespace {

[[maybe_unused]] const bool g_started = (pictornx::StartLibrary(nullptr), true);

}  // namespace
