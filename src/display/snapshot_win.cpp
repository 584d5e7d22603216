#include <windows.h>

#include <shlobj.h>

#include <cwchar>
#include <new>

#include "display/display.h"
#include "display/snapshot_format.h"

namespace {

// Writes one snapshot: headers, then the screen rows from the bottom up,
// read pixel by pixel through GDI.
class SnapshotWriter {
  public:
    SnapshotWriter(int32_t width, int32_t height)
        : width_(width), height_(height), nextRow_(height - 1) {
        BuildSnapshotHeaders(width, height, fileHeader_, infoHeader_);
        rowSize_ = SnapshotRowSize(width);
        // Rows only for a size the file format can hold.
        if (SnapshotFileSize(width, height) != 0) row_ = new (std::nothrow) uint8_t[rowSize_]();
    }
    ~SnapshotWriter() {
        delete[] row_;
        Close();
    }
    SnapshotWriter(const SnapshotWriter&) = delete;
    SnapshotWriter& operator=(const SnapshotWriter&) = delete;

    bool Ready() const { return row_ != nullptr; }

    // Creates (or empties) the file and starts again from the bottom row.
    int OpenSnapshotFile(const wchar_t* path) {
        Close();
        file_ = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
        nextRow_ = height_ - 1;
        return file_ != INVALID_HANDLE_VALUE ? 1 : 0;
    }

    int WriteSnapshotHeaders() {
        if (file_ == INVALID_HANDLE_VALUE) return 0;
        if (!Write(fileHeader_, sizeof fileHeader_) || !Write(infoHeader_, sizeof infoHeader_))
            return 0;
        return 1;
    }

    int ReadSnapshotRow(HDC dc) {
        if (nextRow_ < 0 || file_ == INVALID_HANDLE_VALUE) return 0;
        for (int32_t x = 0; x < width_; ++x) StoreSnapshotPixel(row_, x, GetPixel(dc, x, nextRow_));
        --nextRow_;
        return 1;
    }

    int WriteSnapshotRow() { return Write(row_, static_cast<UINT>(rowSize_)) ? 1 : 0; }

    // Whether every row reached the file.
    bool Complete() const { return file_ != INVALID_HANDLE_VALUE && nextRow_ < 0; }

    // The whole snapshot into `path`; a file left incomplete is removed.
    bool WriteWhole(const wchar_t* path, HDC dc) {
        if (!OpenSnapshotFile(path)) return false;
        if (WriteSnapshotHeaders())
            while (ReadSnapshotRow(dc)) WriteSnapshotRow();
        const bool complete = Complete();
        if (Close() && complete) return true;
        DeleteFileW(path);  // what reached it is no picture
        return false;
    }

  private:
    bool Write(const void* data, UINT size) {
        DWORD written = 0;
        if (WriteFile(file_, data, size, &written, nullptr) && written == size) return true;
        Close();
        return false;
    }

    // True when the file was open and its close succeeded.
    bool Close() {
        if (file_ == INVALID_HANDLE_VALUE) return false;
        const bool closed = CloseHandle(file_) != FALSE;
        file_ = INVALID_HANDLE_VALUE;
        return closed;
    }

    int32_t width_, height_, nextRow_;
    uint8_t fileHeader_[kSnapshotFileHeaderSize];
    uint8_t infoHeader_[kSnapshotInfoHeaderSize];
    uint8_t* row_ = nullptr;
    int32_t rowSize_ = 0;
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

// The snapshot's place in the user's Pictures folder; false when there is
// no such folder.
bool PicturesSnapshotPath(wchar_t (&path)[MAX_PATH]) {
    static const wchar_t kName[] = L"\\tessary.bmp";
    path[0] = L'\0';
    if (FAILED(g_Display.host.picturesFolder(nullptr, CSIDL_MYPICTURES | CSIDL_FLAG_CREATE, nullptr,
                                             SHGFP_TYPE_CURRENT, path)))
        return false;
    const std::size_t length = std::wcslen(path);
    if (length == 0 || length + sizeof kName / sizeof kName[0] > MAX_PATH) return false;
    std::wmemcpy(path + length, kName, sizeof kName / sizeof kName[0]);
    return true;
}

}  // namespace

int TakeSnapshot() {
    DisplayState& d = g_Display;
    SnapshotWriter writer(d.settings[xScreenSize], d.settings[yScreenSize]);
    if (!writer.Ready() || d.backBuffer == nullptr) return 0;
    HDC dc = nullptr;
    if (d.backBuffer->GetDC(&dc) != DD_OK) return 0;
    // A saver started by Windows runs in the system folder, which a user
    // may not write: the snapshot then goes to Pictures.
    wchar_t pictures[MAX_PATH];
    const bool written = writer.WriteWhole(d.host.snapshotPath, dc) ||
                         (PicturesSnapshotPath(pictures) && writer.WriteWhole(pictures, dc));
    d.backBuffer->ReleaseDC(dc);
    if (!written) MessageBeep(MB_ICONHAND);
    return written ? 1 : 0;
}
