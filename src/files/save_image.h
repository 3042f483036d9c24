// Saving WorkImage, whole or a rectangle of it, as a BMP, JPEG or PNG file the user names
// in the save dialog; and the empty temporary file of command 32872.
#pragma once

#include <windows.h>

#include <cstdint>

#include "codecs/jpeg_codec.h"
#include "files/save_rules.h"
#include "pixels/image.h"

namespace pictornx {

// A rectangle of WorkImage in picture coordinates (top = 0 is the picture's top row).
struct ImageRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// All of WorkImage as it is displayed.
ImageRect WholeWorkImage();

enum SaveImageResult : int {
  kSaveDone = 0,              // saved, or a JPEG/PNG writer failed after its message
  kSaveDialogCancelled = 1,
  kSaveNotDone = -1,          // overwrite refused, nothing written, or no image to save
  kSaveBmpNotCreated = 2,
  kSaveBmpWrittenShort = 3,
  kSaveNoPixelBuffer = 6,
};

// Asks for a file name and saves `range` of WorkImage there, with every message over
// `owner`. The JPEG-only variant (the JPEG preview's) always saves the whole image. The
// file range drag calls this with its rectangle when the button is released; it ends its
// own range mode first.
int SaveImage(HWND owner, const ImageRect& range, bool jpegOnly);

// The JPEG settings every JPEG this library writes uses; kept while the library is loaded.
JpegOptions& JpegSettings();

enum class FileWriteStatus {
  kWritten,
  kCannotCreate,    // the target or its temporary file cannot be written
  kNothingWritten,  // BMP: not one byte reached the file
  kWrittenShort,    // BMP: fewer bytes than the image needs
  kWriterFailed,    // JPEG or PNG: the encoder or the file failed
};

struct FileWriteOutcome {
  FileWriteStatus status = FileWriteStatus::kCannotCreate;
  int64_t bytes = 0;  // the size of the saved file
};

// Writes the image to `path` with the type's writer, without any dialog or message. The
// bytes go to a temporary file in the same folder that replaces the target only once it
// is complete and closed; on any failure the temporary file is deleted and a file that
// was at `path` is left as it was.
FileWriteOutcome WriteImageFile(const wchar_t* path, ConstImageView image, SaveType type, const JpegOptions& jpeg);

// Command 32872: creates an empty "tmppictr.gif" in the temporary folder. False when the
// folder cannot be found or the file cannot be created.
bool CreateTemporaryGif();

}  // namespace pictornx
