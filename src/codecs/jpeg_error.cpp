#include "codecs/jpeg_error.h"

#include <jerror.h>

namespace pictornx {
namespace {

[[noreturn]] void JumpBack(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<JpegErrorJump*>(cinfo->err);
  std::longjmp(err->jump, 1);
}

void Silent(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* JpegErrorInit(JpegErrorJump* err, CodecStatus status, const char* reason) {
  jpeg_error_mgr* pub = jpeg_std_error(&err->pub);
  pub->error_exit = JumpBack;
  pub->output_message = Silent;
  err->status = status;
  err->reason = reason;
  return pub;
}

CodecResult JpegErrorResult(const JpegErrorJump* err) {
  if (err->pub.msg_code == JERR_OUT_OF_MEMORY)
    return CodecFail(CodecStatus::kOutOfMemory, "libjpeg out of memory");
  return CodecFail(err->status, err->reason);
}

}  // namespace pictornx
