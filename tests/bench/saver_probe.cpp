// The saver's surroundings for scripts/bench, seen from inside Wine.
//
//   tessary_bench_probe          the resources the running saver holds, for
//                                the soak, in one line:
//                                  handles=N handle-count=N gdi=N user=N
//     handles: the saver's entries in the system's list of all handles;
//     handle-count: what GetProcessHandleCount says for it; gdi and user:
//     what GetGuiResources says. Wine answers 0 for the last three, so the
//     first is the one that counts there. Exits 1 when no saver runs.
//   tessary_bench_probe hold     joins the desktop, prints "holding" and
//                                waits until it is ended: Wine closes a
//                                virtual desktop a second after its last
//                                program has gone, and a desktop that is up
//                                is what a saver starts on.
#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The entries of the system's handle list (SystemHandleInformation, 16)
// owned by process `pid`; -1 when the list cannot be read.
long HandlesOf(DWORD pid) {
    using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) return -1;
    struct Entry {
        ULONG process;
        BYTE type, flags;
        USHORT value;
        void* object;
        ULONG access;
    };
    struct List {
        ULONG count;
        Entry handles[1];
    };
    const LONG kTooSmall = static_cast<LONG>(0xC0000004);
    std::vector<ULONG_PTR> buffer(1 << 14);
    const auto bytes = [&buffer] { return static_cast<ULONG>(buffer.size() * sizeof buffer[0]); };
    ULONG size = 0;
    LONG status;
    while ((status = query(16, buffer.data(), bytes(), &size)) == kTooSmall)
        buffer.resize(buffer.size() * 2);
    if (status != 0) return -1;
    const List& list = *reinterpret_cast<const List*>(buffer.data());
    const size_t room = (bytes() - offsetof(List, handles)) / sizeof(Entry);
    long count = 0;
    for (ULONG i = 0; i < list.count && i < room; ++i) count += list.handles[i].process == pid;
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "hold") == 0) {
        GetDesktopWindow();
        std::printf("holding\n");
        std::fflush(stdout);
        for (;;) Sleep(INFINITE);
    }
    HWND saver = FindWindowA("SkylumenClass", nullptr);
    if (saver == nullptr) {
        std::printf("no saver\n");
        return 1;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(saver, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    DWORD handleCount = 0, gdi = 0, user = 0;
    if (process != nullptr) {
        GetProcessHandleCount(process, &handleCount);
        gdi = GetGuiResources(process, GR_GDIOBJECTS);
        user = GetGuiResources(process, GR_USEROBJECTS);
        CloseHandle(process);
    }
    std::printf("handles=%ld handle-count=%lu gdi=%lu user=%lu\n", HandlesOf(pid), handleCount, gdi,
                user);
    return 0;
}
