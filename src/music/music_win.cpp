#include "music/music.h"

#include <cstring>
#include <ctime>

#include "animation/random_source.h"
#include "music/tune_rules.h"
#include "settings/settings_store.h"

int DirectMusicAvailable = 0;
MusicState g_Music;

MusicHost::MusicHost()
    : secondsNow([] { return static_cast<uint32_t>(std::time(nullptr)); }),
      moduleFileName(
          [](char* buffer, DWORD size) { return GetModuleFileNameA(nullptr, buffer, size); }) {}

namespace {

// Every group of the segment's tracks.
constexpr DWORD kAllGroups = 0xFFFFFFFF;

const char kCloseAll[] = "close all";
const char kPlayWithNotify[] = "play MUSIC from 0 notify";

MCIERROR SendMci(const char* command, HWND callback) {
    return g_Music.host.sendMciString(command, nullptr, 0, callback);
}

bool IsLeadByteOfCodePage(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

// Releases the segment state, unloads and releases the current segment.
void UnloadSegment() {
    MusicState& m = g_Music;
    if (m.segmentState != nullptr) {
        m.segmentState->Release();
        m.segmentState = nullptr;
    }
    m.segment->SetParam(GUID_Unload, kAllGroups, 0, 0, m.performance);
    m.segment->Release();
    m.segment = nullptr;
}

// Stops all DirectMusic play at once and unloads the current segment with
// its state; nothing to do when no segment is loaded.
void ReleaseSegment() {
    MusicState& m = g_Music;
    if (m.segment == nullptr) return;
    m.performance->Stop(nullptr, nullptr, 0, 0);
    UnloadSegment();
}

// Calls `visit` with the file name of every tune in `pattern`'s folder, in
// the file system's order, until it returns false. Directories and names too
// long for the name buffer are passed over. False when the search could not
// start.
template <typename Visit>
bool ForEachTuneFile(const char* pattern, Visit visit) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        if (!TuneFileNameFits(found.cFileName)) continue;
        if (!visit(found.cFileName)) break;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}

// The search pattern of the program folder's tunes; false when the folder
// is unknown.
bool TunePattern(char* pattern) {
    char folder[kFolderBufferSize];
    GetProgramFolder(folder);
    return ComposeTunePath(pattern, kPatternBufferSize, folder, "*", ".mid");
}

// The common end of a start: `name` (kTuneNameBufferSize bytes) is a tune
// name, the random entry, or anything the user typed. A path that does not
// fit its buffer plays like a file that is missing: whatever played stops
// and nothing starts.
BOOL PlayNamedTune(HWND window, char* name, int useDirectMusic) {
    char folder[kFolderBufferSize];
    GetProgramFolder(folder);
    char path[kTunePathBufferSize];
    bool composed;
    if (!IsRandomTune(name)) {
        composed = ComposeTunePath(path, sizeof path, folder, name, ".mid");
    } else {
        PickRandomTune(name);
        composed = ComposeTunePath(path, sizeof path, folder, name, "");
    }
    if (!composed) {
        StopMusic();
        return FALSE;
    }
    return PlayMusicFile(window, path, useDirectMusic);
}

}  // namespace

void MusicInit() {
    MusicState& m = g_Music;
    m.performance = nullptr;
    m.loader = nullptr;
    m.segment = nullptr;
    m.segmentState = nullptr;
    DirectMusicAvailable = 0;

    if (FAILED(m.host.coInitialize(nullptr))) return;
    m.comInitialized = true;

    void* created = nullptr;
    if (m.host.coCreateInstance(CLSID_DirectMusicPerformance, nullptr,
                                CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                IID_IDirectMusicPerformance, &created) != S_OK ||
        created == nullptr)
        return;
    m.performance = static_cast<IDirectMusicPerformance*>(created);

    if (m.performance->Init(nullptr, nullptr, nullptr) != S_OK) return;
    if (m.performance->AddPort(nullptr) != S_OK) return;

    created = nullptr;
    if (m.host.coCreateInstance(CLSID_DirectMusicLoader, nullptr,
                                CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                IID_IDirectMusicLoader, &created) != S_OK ||
        created == nullptr)
        return;
    m.loader = static_cast<IDirectMusicLoader*>(created);
    DirectMusicAvailable = 1;
}

void MusicShutdown() {
    MusicState& m = g_Music;
    if (m.performance != nullptr) m.performance->Stop(nullptr, nullptr, 0, 0);
    if (m.segment != nullptr) UnloadSegment();
    if (m.performance != nullptr) {
        m.performance->CloseDown();
        m.performance->Release();
        m.performance = nullptr;
    }
    if (m.loader != nullptr) {
        m.loader->Release();
        m.loader = nullptr;
    }
    if (m.comInitialized) {
        m.host.coUninitialize();
        m.comInitialized = false;
    }
}

BOOL StopMusic() {
    ReleaseSegment();
    return SendMci(kCloseAll, nullptr) == 0;
}

void LoadMusicSegment(const char* path) {
    MusicState& m = g_Music;
    ReleaseSegment();

    DMUS_OBJECTDESC& desc = m.objectDesc;
    desc.dwSize = sizeof desc;
    desc.dwValidData = DMUS_OBJ_CLASS | DMUS_OBJ_FILENAME | DMUS_OBJ_FULLPATH;
    desc.guidClass = CLSID_DirectMusicSegment;

    // Each byte becomes one 16-bit unit of the same value, as the loader of
    // this program has always been given it; a name too long for the field
    // is not loaded at all rather than loaded cut short.
    const std::size_t length = std::strlen(path);
    if (length >= kWideFileNameSize || m.loader == nullptr) return;
    for (std::size_t i = 0; i < kWideFileNameSize; ++i)
        desc.wszFileName[i] = i < length ? static_cast<unsigned char>(path[i]) : 0;

    void* loaded = nullptr;
    m.loader->GetObject(&desc, IID_IDirectMusicSegment, &loaded);
    m.segment = static_cast<IDirectMusicSegment*>(loaded);
    if (m.segment == nullptr) return;
    m.segment->SetParam(GUID_StandardMIDIFile, kAllGroups, 0, 0, m.performance);
    m.segment->SetParam(GUID_Download, kAllGroups, 0, 0, m.performance);
    m.segment->SetRepeats(0);
}

BOOL PlayMusicFile(HWND window, const char* path, int useDirectMusic) {
    MusicState& m = g_Music;
    if (m.performance != nullptr && m.loader != nullptr && useDirectMusic != 0) {
        LoadMusicSegment(path);
        if (m.segment != nullptr) {
            m.performance->PlaySegment(m.segment, 0, 0, &m.segmentState);
            return TRUE;
        }
    }
    char open[kMciCommandBufferSize];
    const bool fits = FormatMciOpenCommand(open, path);
    if (SendMci(kCloseAll, nullptr) != 0) return FALSE;
    if (!fits || SendMci(open, nullptr) != 0) return FALSE;
    return SendMci(kPlayWithNotify, window) == 0;
}

void GetProgramFolder(char* folder) {
    char name[kFolderBufferSize];
    std::memset(name, 0, sizeof name);
    const DWORD length = g_Music.host.moduleFileName(name, sizeof name);
    FolderOfModuleName(name, length, folder, IsLeadByteOfCodePage);
}

BOOL StartConfiguredMusic(HWND window) {
    char name[kTuneNameBufferSize];
    if (!ReadMidiFileSetting(name)) std::strcpy(name, kDefaultTuneName);
    return PlayNamedTune(window, name, ReadSetting(UseDirectMusic));
}

BOOL TestMusicSelection(HWND dialog, int useDirectMusic) {
    char name[kTuneNameBufferSize];
    std::memset(name, 0, sizeof name);
    GetDlgItemTextA(dialog, kTuneComboId, name, sizeof name);
    return PlayNamedTune(dialog, name, useDirectMusic);
}

int PickRandomTune(char* name) {
    std::strcpy(name, kNoMusicTuneName);
    char pattern[kPatternBufferSize];
    if (!TunePattern(pattern)) return 0;

    int count = 0;
    ForEachTuneFile(pattern, [&](const char*) {
        ++count;
        return true;
    });
    if (count == 0) return 0;

    g_Random.Seed(g_Music.host.secondsNow());
    const int chosen = g_Random.Draw(count);
    int ordinal = 0;
    bool found = false;
    ForEachTuneFile(pattern, [&](const char* fileName) {
        if (ordinal++ != chosen) return true;
        std::strcpy(name, fileName);
        found = true;
        return false;
    });
    return found ? 1 : 0;
}

void FillTuneList(HWND dialog) {
    SendDlgItemMessageA(dialog, kTuneComboId, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(kNoMusicTuneName));
    SendDlgItemMessageA(dialog, kTuneComboId, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(kRandomTuneName));

    char pattern[kPatternBufferSize];
    if (TunePattern(pattern)) {
        ForEachTuneFile(pattern, [&](const char* fileName) {
            char entry[kFolderBufferSize];
            std::memset(entry, 0, sizeof entry);
            std::strcpy(entry, fileName);
            StripExtension(entry);
            SendDlgItemMessageA(dialog, kTuneComboId, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(entry));
            return true;
        });
    }

    char stored[kTuneNameBufferSize];
    if (!ReadMidiFileSetting(stored)) std::strcpy(stored, kDefaultTuneName);
    // The entry that is the stored name first, so that "Song" never picks
    // "Song2"; else the first entry that begins with it. When nothing matches
    // (a tune renamed, moved or not installed, or an empty name, which would
    // begin every entry) the stored name stays in the field, so that closing
    // the dialog keeps the user's choice.
    const LPARAM text = reinterpret_cast<LPARAM>(stored);
    LRESULT index = SendDlgItemMessageA(dialog, kTuneComboId, CB_FINDSTRINGEXACT,
                                        static_cast<WPARAM>(-1), text);
    if (index != CB_ERR)
        SendDlgItemMessageA(dialog, kTuneComboId, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    else if (stored[0] == '\0' ||
             SendDlgItemMessageA(dialog, kTuneComboId, CB_SELECTSTRING, 0, text) == CB_ERR)
        SetDlgItemTextA(dialog, kTuneComboId, stored);
}

void CheckMusicEnded(HWND window) {
    MusicState& m = g_Music;
    const DWORD now = m.host.tickCount();
    if (!LoopPollDue(now, m.lastLoopPoll)) return;
    m.lastLoopPoll = now;
    if (ReadSetting(LoopMusic) == 0) return;
    if (m.segment == nullptr || m.segmentState == nullptr) return;
    MUSIC_TIME length = 0;
    if (m.segment->GetLength(&length) != S_OK) return;
    MUSIC_TIME seek = 0;
    if (m.segmentState->GetSeek(&seek) != S_OK) return;
    if (seek == length) StartConfiguredMusic(window);
}

void RestartMusicOnNotify(HWND window, WPARAM notification) {
    if (notification == MCI_NOTIFY_SUCCESSFUL && ReadSetting(LoopMusic) != 0)
        StartConfiguredMusic(window);
}
