#include "music/music.h"

#include <ctime>
#include <cwchar>

#include "animation/random_source.h"
#include "music/tune_rules.h"
#include "settings/settings_store.h"

int DirectMusicAvailable = 0;
MusicState g_Music;

MusicHost::MusicHost()
    : secondsNow([] { return static_cast<uint32_t>(std::time(nullptr)); }),
      moduleFileName(
          [](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); }) {}

namespace {

// Every group of the segment's tracks.
constexpr DWORD kAllGroups = 0xFFFFFFFF;

const wchar_t kCloseAll[] = L"close all";
const wchar_t kPlayWithNotify[] = L"play MUSIC from 0 notify";

MCIERROR SendMci(const wchar_t* command, HWND callback) {
    return g_Music.host.sendMciString(command, nullptr, 0, callback);
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

// The search pattern of the program folder's tunes; false when the folder
// is unknown.
bool TunePattern(wchar_t* pattern) {
    wchar_t folder[kFolderBufferSize];
    GetProgramFolder(folder);
    return ComposeTunePath(pattern, kPatternBufferSize, folder, L"*", L".mid");
}

}  // namespace

bool ForEachTuneFile(const std::function<bool(const wchar_t*)>& visit) {
    wchar_t pattern[kPatternBufferSize];
    if (!TunePattern(pattern)) return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        if (!TuneFileNameFits(found.cFileName)) continue;
        if (!visit(found.cFileName)) break;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return true;
}

// A path that does not fit its buffer plays like a file that is missing:
// whatever played stops and nothing starts.
BOOL PlayNamedTune(HWND window, wchar_t* name, int useDirectMusic) {
    wchar_t folder[kFolderBufferSize];
    GetProgramFolder(folder);
    wchar_t path[kTunePathBufferSize];
    bool composed;
    if (!IsRandomTune(name)) {
        composed = ComposeTunePath(path, kTunePathBufferSize, folder, name, L".mid");
    } else {
        PickRandomTune(name);
        composed = ComposeTunePath(path, kTunePathBufferSize, folder, name, L"");
    }
    if (!composed) {
        StopMusic();
        return FALSE;
    }
    return PlayMusicFile(window, path, useDirectMusic);
}

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

void LoadMusicSegment(const wchar_t* path) {
    MusicState& m = g_Music;
    ReleaseSegment();

    DMUS_OBJECTDESC& desc = m.objectDesc;
    desc.dwSize = sizeof desc;
    desc.dwValidData = DMUS_OBJ_CLASS | DMUS_OBJ_FILENAME | DMUS_OBJ_FULLPATH;
    desc.guidClass = CLSID_DirectMusicSegment;

    // A name too long for the field is not loaded at all rather than
    // loaded cut short.
    const std::size_t length = std::wcslen(path);
    if (length >= kWideFileNameSize || m.loader == nullptr) return;
    std::wmemset(desc.wszFileName, 0, kWideFileNameSize);
    std::wmemcpy(desc.wszFileName, path, length);

    void* loaded = nullptr;
    m.loader->GetObject(&desc, IID_IDirectMusicSegment, &loaded);
    m.segment = static_cast<IDirectMusicSegment*>(loaded);
    if (m.segment == nullptr) return;
    m.segment->SetParam(GUID_StandardMIDIFile, kAllGroups, 0, 0, m.performance);
    m.segment->SetParam(GUID_Download, kAllGroups, 0, 0, m.performance);
    m.segment->SetRepeats(0);
}

BOOL PlayMusicFile(HWND window, const wchar_t* path, int useDirectMusic) {
    MusicState& m = g_Music;
    if (m.performance != nullptr && m.loader != nullptr && useDirectMusic != 0) {
        LoadMusicSegment(path);
        if (m.segment != nullptr) {
            m.performance->PlaySegment(m.segment, 0, 0, &m.segmentState);
            return TRUE;
        }
    }
    wchar_t open[kMciCommandBufferSize];
    const bool fits = FormatMciOpenCommand(open, path);
    if (SendMci(kCloseAll, nullptr) != 0) return FALSE;
    if (!fits || SendMci(open, nullptr) != 0) return FALSE;
    return SendMci(kPlayWithNotify, window) == 0;
}

void GetProgramFolder(wchar_t* folder) {
    wchar_t name[kFolderBufferSize];
    std::wmemset(name, 0, kFolderBufferSize);
    const DWORD length = g_Music.host.moduleFileName(name, kFolderBufferSize);
    FolderOfModuleName(name, length, folder);
}

BOOL StartConfiguredMusic(HWND window) {
    wchar_t name[kTuneNameBufferSize];
    if (!ReadMidiFileSetting(name)) std::wcscpy(name, kDefaultTuneName);
    return PlayNamedTune(window, name, ReadSetting(UseDirectMusic));
}

int PickRandomTune(wchar_t* name) {
    std::wcscpy(name, kNoMusicTuneName);
    int count = 0;
    ForEachTuneFile([&](const wchar_t*) {
        ++count;
        return true;
    });
    if (count == 0) return 0;

    g_Random.Seed(g_Music.host.secondsNow());
    const int chosen = g_Random.Draw(count);
    int ordinal = 0;
    bool found = false;
    ForEachTuneFile([&](const wchar_t* fileName) {
        if (ordinal++ != chosen) return true;
        std::wcscpy(name, fileName);
        found = true;
        return false;
    });
    return found ? 1 : 0;
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
