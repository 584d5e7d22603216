#include "music/tune_rules.h"

#include <cstdio>
#include <cstring>

const char kDefaultTuneName[] = "ｼﾞｬｽﾞﾛﾏﾝﾃｨｯｸ";
const char kRandomTuneName[] = "ランダムに演奏する";
const char kNoMusicTuneName[] = "音楽なし";

bool FolderOfModuleName(const char* moduleName, std::size_t length, char* folder,
                        LeadBytePredicate isLeadByte) {
    folder[0] = '\0';
    if (length == 0 || length >= kFolderBufferSize) return false;
    std::size_t end = length;
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(moduleName[i]);
        if (byte == '\\') {
            end = i;
        } else if (isLeadByte != nullptr && isLeadByte(byte) && i + 1 < length) {
            ++i;
        }
    }
    std::memcpy(folder, moduleName, end);
    folder[end] = '\0';
    return true;
}

bool ComposeTunePath(char* out, std::size_t size, const char* folder, const char* name,
                     const char* extension) {
    out[0] = '\0';
    if (folder[0] == '\0') return false;
    const int length = std::snprintf(out, size, "%s\\%s%s", folder, name, extension);
    if (length < 0 || static_cast<std::size_t>(length) >= size) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool FormatMciOpenCommand(char* out, const char* path) {
    const int length =
        std::snprintf(out, kMciCommandBufferSize, "open \"%s\" type sequencer alias MUSIC", path);
    if (length < 0 || static_cast<std::size_t>(length) >= kMciCommandBufferSize) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool TuneFileNameFits(const char* fileName) {
    return std::strlen(fileName) < kTuneNameBufferSize;
}

void StripExtension(char* fileName) {
    char* dot = std::strrchr(fileName, '.');
    if (dot != nullptr) *dot = '\0';
}

bool IsRandomTune(const char* name) {
    return std::strcmp(name, kRandomTuneName) == 0;
}
