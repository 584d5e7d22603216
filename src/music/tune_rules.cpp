#include "music/tune_rules.h"

#include <cwchar>
#include <initializer_list>

const wchar_t kDefaultTuneName[] = L"ｼﾞｬｽﾞﾛﾏﾝﾃｨｯｸ";
const wchar_t kRandomTuneName[] = L"ランダムに演奏する";
const wchar_t kNoMusicTuneName[] = L"音楽なし";

namespace {

// The parts one after the other into `out` of `size` units; false, with
// `out` empty, when the whole does not fit.
bool Join(wchar_t* out, std::size_t size, std::initializer_list<const wchar_t*> parts) {
    std::size_t used = 0;
    for (const wchar_t* part : parts) {
        const std::size_t length = std::wcslen(part);
        if (length >= size - used) {
            out[0] = L'\0';
            return false;
        }
        std::wmemcpy(out + used, part, length);
        used += length;
    }
    out[used] = L'\0';
    return true;
}

}  // namespace

bool FolderOfModuleName(const wchar_t* moduleName, std::size_t length, wchar_t* folder) {
    folder[0] = L'\0';
    if (length == 0 || length >= kFolderBufferSize) return false;
    std::size_t end = length;
    for (std::size_t i = 0; i < length; ++i)
        if (moduleName[i] == L'\\') end = i;
    std::wmemcpy(folder, moduleName, end);
    folder[end] = L'\0';
    return true;
}

bool ComposeTunePath(wchar_t* out, std::size_t size, const wchar_t* folder, const wchar_t* name,
                     const wchar_t* extension) {
    out[0] = L'\0';
    if (folder[0] == L'\0') return false;
    return Join(out, size, {folder, L"\\", name, extension});
}

bool FormatMciOpenCommand(wchar_t* out, const wchar_t* path) {
    return Join(out, kMciCommandBufferSize, {L"open \"", path, L"\" type sequencer alias MUSIC"});
}

bool TuneFileNameFits(const wchar_t* fileName) {
    return std::wcslen(fileName) < kTuneNameBufferSize;
}

void StripExtension(wchar_t* fileName) {
    wchar_t* dot = std::wcsrchr(fileName, L'.');
    if (dot != nullptr) *dot = L'\0';
}

bool IsRandomTune(const wchar_t* name) {
    return std::wcscmp(name, kRandomTuneName) == 0;
}
