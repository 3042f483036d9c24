// libjpeg's error manager with the exit replaced by a longjmp back to the function that
// called setjmp, and the message output silenced (a GUI DLL has no stderr).
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "codecs/codec_status.h"

namespace pictornx {

struct JpegErrorJump {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  CodecStatus status;  // what a jump reports, unless the message says out of memory
  const char* reason;
};

// Sets up err and returns the pointer to store in cinfo.err.
jpeg_error_mgr* JpegErrorInit(JpegErrorJump* err, CodecStatus status, const char* reason);

// The status to report after a jump: kOutOfMemory for the library's allocation failures.
CodecResult JpegErrorResult(const JpegErrorJump* err);

}  // namespace pictornx
