// Saving through the dialog as a user does it, with a side thread typing the names: the
// bytes of each format, the dialog coming back after a refused name, and old files that
// survive a cancelled or failed save.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "codecs/bmp.h"
#include "codecs/file_io.h"
#include "codecs/image_sink.h"
#include "codecs/jpeg_codec.h"
#include "codecs/png_codec.h"
#include "files/file_names.h"
#include "files/save_image.h"
#include "imagestore/image_buffers.h"
#include "resources/resource_ids.h"
#include "ui/popup.h"
#include "res_string.h"
#include "win/module.h"
#include "file_dialog_driver.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

using wintest::FileDialogDriver;

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
  ByteBlock block;
  if (!LoadFile(path.c_str(), &block).Ok()) return {};
  return {block.data(), block.data() + block.size()};
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

// The component count in a JPEG's frame header, 0 when there is none.
int JpegComponents(const std::vector<uint8_t>& jpeg) {
  for (size_t i = 2; i + 9 < jpeg.size();) {
    if (jpeg[i] != 0xFF) return 0;
    const uint8_t marker = jpeg[i + 1];
    if (marker == 0xC0 || marker == 0xC2) return jpeg[i + 9];
    i += 2 + (jpeg[i + 2] << 8 | jpeg[i + 3]);
  }
  return 0;
}

std::wstring Popup() { return PopupWindow() ? std::wstring(PopupLine1()) + L"|" + PopupLine2() : L""; }

// Runs on the driver's thread when a dialog shows: what the pop-up says, then closes it as
// a user who waits it out would.
std::wstring TakePopup() {
  std::wstring seen = Popup();
  ClosePopup();
  return seen;
}

std::wstring Lines(UINT id1, const std::wstring& line2) { return LoadResString(id1) + L"|" + line2; }
std::wstring Lines(UINT id1, UINT id2) { return Lines(id1, LoadResString(id2)); }

class SaveTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 67;  // odd: rows carry padding
  static constexpr int kHeight = 41;

  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    dir = std::wstring(temp) + L"pnx-save-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(GetTickCount64()) + L"\\";
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    names = Names();
    Names() = FileNames{};
    jpeg = JpegSettings();
    ASSERT_TRUE(Images().workImage.Create(kWidth, kHeight));
    const ImageView view = Images().workImage.View();
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        uint8_t* p = view.TopRow(y) + x * 3;
        p[0] = static_cast<uint8_t>(x * 3 + 7);
        p[1] = static_cast<uint8_t>(y * 5 + 1);
        p[2] = static_cast<uint8_t>(x * 7 + y * 11);
      }
  }
  void TearDown() override {
    ClosePopup();
    Images().workImage.Free();
    Names() = names;
    JpegSettings() = jpeg;
    RemoveTree(dir);
  }
  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(path + L"\\");
        else
          DeleteFileW(path.c_str());
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
  }
  std::vector<std::wstring> Files(const std::wstring& folder) const {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
      if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L"..")) files.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return files;
  }
  // The pixels of a rectangle of the pattern, packed as a bottom-up image.
  std::vector<uint8_t> Expected(const ImageRect& r) const {
    const int64_t row = RowBytes(r.width);
    std::vector<uint8_t> bytes(static_cast<size_t>(row * r.height), 0);
    const ImageView work = Images().workImage.View();
    for (int i = 0; i < r.height; ++i)
      std::memcpy(&bytes[static_cast<size_t>(i * row)], work.TopRow(r.top + r.height - 1 - i) + r.left * 3,
                  static_cast<size_t>(r.width) * 3);
    return bytes;
  }
  int Save(std::vector<wintest::DialogStep> steps, const ImageRect& range, bool jpegOnly = false) {
    FileDialogDriver driver(std::move(steps), TakePopup);
    const int result = SaveImage(owner.Get(), range, jpegOnly);
    seen = driver.Result();
    return result;
  }

  std::wstring dir;
  FileNames names;
  JpegOptions jpeg;
  wintest::HostWindow owner;
  std::vector<wintest::SeenStep> seen;
};

TEST_F(SaveTest, RangeAsBmpHasEveryHeaderFieldAndTheRowsAndIsRemembered) {
  const ImageRect range{5, 3, 21, 10};
  wchar_t before[MAX_PATH], after[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  ASSERT_EQ(Save({FileDialogDriver::Type(dir + L"range")}, range), kSaveDone);
  ASSERT_TRUE(seen[0].seen);
  EXPECT_EQ(seen[0].title, LoadResString(IDS_SAVE_DIALOG_TITLE));

  const std::vector<uint8_t> file = ReadBytes(dir + L"range.bmp");
  const uint32_t s = 10 * 64;  // rowbytes(21) = 64
  ASSERT_EQ(file.size(), 54 + s);
  EXPECT_EQ(U16(file, 0), 19778);
  EXPECT_EQ(U32(file, 2), 54 + s);
  EXPECT_EQ(U32(file, 6), 0u);
  EXPECT_EQ(U32(file, 10), 54u);
  const uint32_t info[] = {40, 21, 10};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(U32(file, 14 + i * 4), info[i]);
  EXPECT_EQ(U16(file, 26), 1);
  EXPECT_EQ(U16(file, 28), 24);
  EXPECT_EQ(U32(file, 30), 0u);
  EXPECT_EQ(U32(file, 34), s);
  for (int at = 38; at < 54; at += 4) EXPECT_EQ(U32(file, at), 0u);
  EXPECT_TRUE(std::equal(file.begin() + 54, file.end(), Expected(range).begin()));

  EXPECT_EQ(Popup(), L"694 \uFF8A\uFF9E\uFF72\uFF84 " + LoadResString(IDS_SAVED) + L"|\u3010range.bmp\u3011");
  EXPECT_EQ(std::wstring(Names().lastSaveDir), dir);
  EXPECT_EQ(std::wstring(Names().lastFileTitle), L"range.bmp");
  EXPECT_EQ(Names().lastFilterIndex, 1);
  EXPECT_EQ(Files(dir), std::vector<std::wstring>{L"range.bmp"});  // no temporary file left
  GetCurrentDirectoryW(MAX_PATH, after);
  EXPECT_STREQ(after, before);  // the host's current folder is left alone
}

TEST_F(SaveTest, PngAndJpegDecodeToTheImageAndTheJpegOnlyVariantSavesTheWhole) {
  Names().lastFilterIndex = 3;
  ASSERT_EQ(Save({FileDialogDriver::Type(dir + L"whole")}, WholeWorkImage()), kSaveDone);
  BufferSink png;
  ASSERT_TRUE(ReadPngFile((dir + L"whole.png").c_str(), png).Ok());
  ASSERT_EQ(png.Image().Width(), kWidth);
  ASSERT_EQ(png.Image().Height(), kHeight);
  const ConstImageView decoded = png.Image().View();
  EXPECT_EQ(std::vector<uint8_t>(decoded.bits, decoded.bits + RowBytes(kWidth) * kHeight),
            Expected(WholeWorkImage()));
  EXPECT_NE(Popup().find(L"|\u3010whole.png\u3011"), std::wstring::npos);
  ClosePopup();

  // Typed in capitals with the JPEG type: kept as typed, written as JPEG, grey from green.
  JpegSettings().colour = false;
  Names().lastFilterIndex = 2;
  ASSERT_EQ(Save({FileDialogDriver::Type(dir + L"part.JPG")}, {10, 10, 30, 20}), kSaveDone);
  const std::vector<uint8_t> grey = ReadBytes(dir + L"part.JPG");
  EXPECT_EQ(JpegComponents(grey), 1);
  BufferSink jpegSink;
  ASSERT_TRUE(ReadJpeg(grey, jpegSink).Ok());
  EXPECT_EQ(jpegSink.Image().Width(), 30);
  EXPECT_EQ(jpegSink.Image().Height(), 20);
  ClosePopup();

  JpegSettings().colour = true;
  Names().lastFilterIndex = 1;
  ASSERT_EQ(Save({FileDialogDriver::Type(dir + L"preview")}, {0, 0, 1, 1}, true), kSaveDone);
  const std::vector<uint8_t> colour = ReadBytes(dir + L"preview.jpg");
  EXPECT_EQ(JpegComponents(colour), 3);
  BufferSink colourSink;
  ASSERT_TRUE(ReadJpeg(colour, colourSink).Ok());
  EXPECT_EQ(colourSink.Image().Width(), kWidth);
  EXPECT_EQ(colourSink.Image().Height(), kHeight);
  EXPECT_EQ(Names().lastFilterIndex, 2);
}

TEST_F(SaveTest, MismatchedAndRefusedNamesBringTheDialogBackUntilCancelled) {
  const int result = Save({FileDialogDriver::Type(dir + L"shot.jpg"), FileDialogDriver::Type(dir + L"a;b~c"),
                           FileDialogDriver::Type(dir + L"my.shot.bmp"), FileDialogDriver::Type(dir + L"photo.jpeg"),
                           FileDialogDriver::Cancel()},
                          WholeWorkImage());
  EXPECT_EQ(result, kSaveDialogCancelled);
  ASSERT_TRUE(seen[4].seen);
  const std::wstring refused = LoadResString(IDS_CHARACTER_NOT_ALLOWED);
  EXPECT_EQ(seen[0].extra, L"");
  EXPECT_EQ(seen[1].extra, Lines(IDS_EXTENSION_MISMATCH_LINE1, IDS_EXTENSION_MISMATCH_LINE2));
  EXPECT_EQ(seen[2].extra, Lines(IDS_INVALID_FILE_NAME, L"\u3010 ~ \u3011" + refused));
  EXPECT_EQ(seen[3].extra, Lines(IDS_INVALID_FILE_NAME, L"\u3010 . \u3011" + refused));
  EXPECT_EQ(seen[4].extra, Lines(IDS_INVALID_FILE_NAME, L"\u3010 . \u3011" + refused));
  // Each time the dialog comes back with the name the user typed.
  EXPECT_NE(seen[1].text.find(L"shot.jpg"), std::wstring::npos);
  EXPECT_NE(seen[4].text.find(L"photo.jpeg"), std::wstring::npos);
  EXPECT_EQ(Names().lastFilterIndex, 1);
  EXPECT_TRUE(Files(dir).empty());
}

TEST_F(SaveTest, OverwriteCancelledOrFailedKeepsTheOldBytes) {
  const std::wstring old = dir + L"old.bmp";
  WriteBytes(old, "old bytes");
  EXPECT_EQ(Save({FileDialogDriver::Type(old), FileDialogDriver::Answer(IDCANCEL)}, WholeWorkImage()), kSaveNotDone);
  EXPECT_EQ(seen[1].title, LoadResString(IDS_CAUTION_CAPTION));
  EXPECT_EQ(seen[1].text, LoadResString(IDS_CONFIRM_OVERWRITE) + L"\u3010 old.bmp \u3011");
  EXPECT_EQ(Popup(), Lines(IDS_CANCELLED_MARK, IDS_SAVE_CANCELLED));
  ClosePopup();

  SetFileAttributesW(old.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Save({FileDialogDriver::Type(old), FileDialogDriver::Answer(IDOK)}, WholeWorkImage()), kSaveBmpNotCreated);
  EXPECT_EQ(Popup(), Lines(IDS_CANNOT_WRITE_FILE, IDS_MAYBE_WRITE_PROTECTED));
  ClosePopup();

  // A folder where the file would go: no question, the same message.
  ASSERT_TRUE(CreateDirectoryW((dir + L"folder.bmp").c_str(), nullptr));
  EXPECT_EQ(Save({FileDialogDriver::Type(dir + L"folder")}, WholeWorkImage()), kSaveBmpNotCreated);
  EXPECT_EQ(Popup(), Lines(IDS_CANNOT_WRITE_FILE, IDS_MAYBE_WRITE_PROTECTED));
  ClosePopup();

  // PNG and JPEG failures have their own message and count as done.
  const std::wstring oldPng = dir + L"old.png";
  WriteBytes(oldPng, "old png");
  SetFileAttributesW(oldPng.c_str(), FILE_ATTRIBUTE_READONLY);
  Names().lastFilterIndex = 3;
  EXPECT_EQ(Save({FileDialogDriver::Type(oldPng), FileDialogDriver::Answer(IDOK)}, WholeWorkImage()), kSaveDone);
  EXPECT_EQ(Popup(), Lines(IDS_SAVE_FAILED, IDS_MAYBE_DISK_PROBLEM));

  EXPECT_EQ(ReadBytes(old), std::vector<uint8_t>({'o', 'l', 'd', ' ', 'b', 'y', 't', 'e', 's'}));
  EXPECT_EQ(ReadBytes(oldPng).size(), 7u);
  EXPECT_EQ(Files(dir).size(), 3u);  // old.bmp, old.png, folder.bmp: no temporary file left
}

TEST_F(SaveTest, WritingWithoutTheDialogReplacesOnlyAWholeFile) {
  const ConstImageView image = Images().workImage.View();
  const std::wstring target = dir + L"target.bmp";
  WriteBytes(target, "old");
  // Held open by another program without sharing: the old file stays.
  HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  for (SaveType type : {SaveType::kBmp, SaveType::kJpeg, SaveType::kPng})
    EXPECT_EQ(WriteImageFile(target.c_str(), image, type, {}).status, FileWriteStatus::kCannotCreate);
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(target).size(), 3u);
  // A folder that does not exist: nothing to create.
  EXPECT_EQ(WriteImageFile((dir + L"missing\\x.bmp").c_str(), image, SaveType::kBmp, {}).status,
            FileWriteStatus::kCannotCreate);
  const FileWriteOutcome done = WriteImageFile(target.c_str(), image, SaveType::kBmp, {});
  EXPECT_EQ(done.status, FileWriteStatus::kWritten);
  EXPECT_EQ(done.bytes, 54 + RowBytes(kWidth) * kHeight);
  EXPECT_EQ(static_cast<int64_t>(ReadBytes(target).size()), done.bytes);
  EXPECT_EQ(Files(dir), std::vector<std::wstring>{L"target.bmp"});
}

TEST_F(SaveTest, JapaneseFolderAndNameSaveAndAreOfferedAgain) {
  const std::wstring folder = dir + L"\u4FDD\u5B58\u5148\\";  // 保存先
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  Names().lastFilterIndex = 3;
  const std::wstring name = L"\u753B\u50CF\u30C6\u30B9\u30C8";  // 画像テスト
  ASSERT_EQ(Save({FileDialogDriver::Type(folder + name)}, WholeWorkImage()), kSaveDone);
  BufferSink png;
  ASSERT_TRUE(ReadPngFile((folder + name + L".png").c_str(), png).Ok());
  EXPECT_EQ(png.Image().Width(), kWidth);
  EXPECT_EQ(Popup().substr(Popup().find(L'|')), L"|\u3010" + name + L".png\u3011");
  EXPECT_EQ(std::wstring(Names().lastSaveDir), folder);
  ClosePopup();

  EXPECT_EQ(Save({FileDialogDriver::Cancel()}, WholeWorkImage()), kSaveDialogCancelled);
  EXPECT_NE(seen[0].text.find(name + L".png"), std::wstring::npos);
}

TEST_F(SaveTest, TemporaryGifIsCreatedEmpty) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring gif = std::wstring(temp) + L"tmppictr.gif";
  WriteBytes(gif, "stale");
  ASSERT_TRUE(CreateTemporaryGif());
  EXPECT_TRUE(ReadBytes(gif).empty());
  EXPECT_NE(GetFileAttributesW(gif.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileW(gif.c_str());
}

}  // namespace
}  // namespace pictornx
