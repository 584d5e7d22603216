// A fresh music state for each test, on a private registry: the MCI calls
// are recorded, COM, the clock and the tick count answer from the test, and
// the program's folder is one the test creates under %TEMP%.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "music/music.h"
#include "music/tune_rules.h"
#include "registry_fixture.h"
#include "settings/settings_store.h"

// A folder under %TEMP%, padded with subfolders to at least `minLength`
// characters, removed with everything in it at the end.
class TempFolder {
  public:
    explicit TempFolder(std::size_t minLength = 0) {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        static int serial = 0;
        root_ = std::string(temp) + "tessary-music-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++serial);
        CreateDirectoryA(root_.c_str(), nullptr);
        path_ = root_;
        while (path_.size() < minLength) {
            const std::size_t step = std::min<std::size_t>(60, minLength - path_.size());
            path_ += "\\" + std::string(step > 1 ? step - 1 : 1, 'd');
            CreateDirectoryA(path_.c_str(), nullptr);
        }
    }
    ~TempFolder() { Remove(root_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    bool Exists() const { return GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES; }

    void AddFile(const std::string& name) const {
        HANDLE file = CreateFileA((path_ + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
        CloseHandle(file);
    }
    void AddFolder(const std::string& name) const {
        ASSERT_TRUE(CreateDirectoryA((path_ + "\\" + name).c_str(), nullptr)) << name;
    }

  private:
    static void Remove(const std::string& folder) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(folder + "\\" + name);
                else
                    DeleteFileA((folder + "\\" + name).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string root_;
    std::string path_;
};

struct MciCall {
    std::string command;
    HWND callback;
};

class MusicFixture : public ScratchRegistry {
  protected:
    void SetUp() override {
        ScratchRegistry::SetUp();
        g_Music = MusicState();
        DirectMusicAvailable = 0;
        MusicHost& host = g_Music.host;
        host.sendMciString = [this](LPCSTR command, LPSTR, UINT, HWND callback) {
            mci.push_back({command, callback});
            return mciResult ? mciResult(command) : 0;
        };
        host.coInitialize = [this](LPVOID) { return coInitializeResult; };
        host.coUninitialize = [this] { ++coUninitializeCalls; };
        host.tickCount = [this] { return tick; };
        host.secondsNow = [this] { return seconds; };
        host.moduleFileName = [this](char* buffer, DWORD size) -> DWORD {
            lstrcpynA(buffer, moduleName.c_str(), static_cast<int>(size));
            return static_cast<DWORD>(std::min<std::size_t>(moduleName.size(), size));
        };
    }

    void TearDown() override {
        g_Music = MusicState();
        DirectMusicAvailable = 0;
        ScratchRegistry::TearDown();
    }

    // A new music state that keeps the test's host.
    void Fresh() {
        const MusicHost host = g_Music.host;
        g_Music = MusicState();
        g_Music.host = host;
        DirectMusicAvailable = 0;
    }

    // The saver runs as <folder>\tessary.scr.
    void RunFrom(const std::string& folder) { moduleName = folder + "\\tessary.scr"; }

    std::vector<std::string> Commands() const {
        std::vector<std::string> commands;
        for (const MciCall& call : mci) commands.push_back(call.command);
        return commands;
    }

    static std::string OpenCommand(const std::string& path) {
        return "open \"" + path + "\" type sequencer alias MUSIC";
    }

    // The three commands of an MCI start of `path`.
    static std::vector<std::string> MciStart(const std::string& path) {
        return {"close all", OpenCommand(path), "play MUSIC from 0 notify"};
    }

    std::vector<MciCall> mci;
    std::function<MCIERROR(const std::string&)> mciResult;
    HRESULT coInitializeResult = S_OK;
    int coUninitializeCalls = 0;
    DWORD tick = 0;
    uint32_t seconds = 0;
    std::string moduleName = "C:\\saver\\tessary.scr";
};
