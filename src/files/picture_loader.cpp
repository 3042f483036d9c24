#include "files/picture_loader.h"

#include <ole2.h>
#include <olectl.h>

namespace pictornx {

namespace {
IPicture* AsPicture(IUnknown* unknown) { return static_cast<IPicture*>(unknown); }
}  // namespace

LoadedPicture::~LoadedPicture() { Release(); }

void LoadedPicture::Release() {
  if (picture_) picture_->Release();
  if (stream_) stream_->Release();
  if (block_) GlobalFree(block_);
  picture_ = nullptr;
  stream_ = nullptr;
  block_ = nullptr;
}

bool LoadedPicture::Load(HGLOBAL block, DWORD bytes) {
  Release();
  block_ = block;
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream)) || !stream) return false;
  block_ = nullptr;  // the stream frees it now
  stream_ = stream;
  void* picture = nullptr;
  // Run mode off: the picture then keeps the original bytes until it is released, and
  // owns its bitmap, icon or metafile on every platform (some loaders leave the handle
  // unowned in run mode, so every picture would leak its handle).
  const HRESULT result = OleLoadPicture(stream, static_cast<LONG>(bytes), FALSE, IID_IPicture, &picture);
  if (FAILED(result) || !picture) return false;
  picture_ = static_cast<IPicture*>(picture);
  return true;
}

SIZE LoadedPicture::HimetricSize() const {
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  if (!picture_ || FAILED(AsPicture(picture_)->get_Width(&width)) || FAILED(AsPicture(picture_)->get_Height(&height)))
    return {};
  return {width, height};
}

bool LoadedPicture::Render(HDC dc, int width, int height) const {
  const SIZE size = HimetricSize();
  if (!picture_) return false;
  return SUCCEEDED(AsPicture(picture_)->Render(dc, 0, 0, width, height, 0, size.cy, size.cx, -size.cy, nullptr));
}

}  // namespace pictornx
