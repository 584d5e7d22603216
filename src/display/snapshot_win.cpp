#include <windows.h>

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
        if (file_ != HFILE_ERROR) _lclose(file_);
    }
    SnapshotWriter(const SnapshotWriter&) = delete;
    SnapshotWriter& operator=(const SnapshotWriter&) = delete;

    bool Ready() const { return row_ != nullptr; }

    int OpenSnapshotFile(const char* path) {
        file_ = OpenFile(path, &openRecord_, OF_CREATE | OF_WRITE);
        return file_ != HFILE_ERROR ? 1 : 0;
    }

    int WriteSnapshotHeaders() {
        if (file_ == HFILE_ERROR) return 0;
        if (!Write(fileHeader_, sizeof fileHeader_) || !Write(infoHeader_, sizeof infoHeader_))
            return 0;
        return 1;
    }

    int ReadSnapshotRow(HDC dc) {
        if (nextRow_ < 0 || file_ == HFILE_ERROR) return 0;
        for (int32_t x = 0; x < width_; ++x) StoreSnapshotPixel(row_, x, GetPixel(dc, x, nextRow_));
        --nextRow_;
        return 1;
    }

    int WriteSnapshotRow() { return Write(row_, static_cast<UINT>(rowSize_)) ? 1 : 0; }

    // Whether every row reached the file.
    bool Complete() const { return file_ != HFILE_ERROR && nextRow_ < 0; }

  private:
    bool Write(const void* data, UINT size) {
        if (_lwrite(file_, static_cast<LPCCH>(data), size) == size) return true;
        _lclose(file_);
        file_ = HFILE_ERROR;
        return false;
    }

    int32_t width_, height_, nextRow_;
    uint8_t fileHeader_[kSnapshotFileHeaderSize];
    uint8_t infoHeader_[kSnapshotInfoHeaderSize];
    uint8_t* row_ = nullptr;
    int32_t rowSize_ = 0;
    HFILE file_ = HFILE_ERROR;
    OFSTRUCT openRecord_ = {};
};

}  // namespace

int TakeSnapshot() {
    DisplayState& d = g_Display;
    SnapshotWriter writer(d.settings[xScreenSize], d.settings[yScreenSize]);
    if (!writer.Ready() || d.backBuffer == nullptr) return 0;
    HDC dc = nullptr;
    if (d.backBuffer->GetDC(&dc) != DD_OK) return 0;
    writer.OpenSnapshotFile(d.host.snapshotPath);
    if (writer.WriteSnapshotHeaders())
        while (writer.ReadSnapshotRow(dc)) writer.WriteSnapshotRow();
    d.backBuffer->ReleaseDC(dc);
    return writer.Complete() ? 1 : 0;
}
