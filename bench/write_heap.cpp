// How much heap one full WriteDisketteImage takes on the simulated PC, above what was in
// use when it started. The writes should go straight from the image in the resources, so
// the program's own share stays small (the aim is below 16 KB) however large the image.
//
// Every allocation made on any thread during the call is recorded with its call stack;
// afterwards addr2line names the source file of each frame. An allocation belongs to the
// simulated platform when the innermost frame from this source tree is under platform/
// (the trace keeps a copy of every byte written, the window system queues the progress
// messages); to the program otherwise. The block LocalAlloc hands out is the program's:
// on Windows it comes from the process heap at the program's request.
//
// Runs in any build: the sanitizers' allocator hooks when built with ASan or TSan, and
// replaced malloc entry points otherwise.
//   write_heap           prints the peaks
//   write_heap --list    and every allocation, with the source file it is charged to
#include <dlfcn.h>
#include <execinfo.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/FlashDlg.h"
#include "diskette/DisketteWriter.h"
#include "fw/WinApp.h"
#include "platform/host/HostUi.h"
#include "platform/sim/SimPc.h"
#include "platform/win.h"

namespace {

const int kFrames = 40;
const std::size_t kEvents = 1 << 15;

struct Event {
    const volatile void* ptr;
    std::size_t size;  // 0: a free
    int frames;
    void* stack[kFrames];
};

Event g_events[kEvents];
std::atomic<std::size_t> g_count{0};
std::atomic<bool> g_recording{false};
std::atomic<bool> g_overflow{false};
thread_local bool t_inHook = false;

void Note(const volatile void* ptr, std::size_t size, bool withStack)
{
    if (!g_recording.load(std::memory_order_relaxed) || t_inHook || !ptr) return;
    t_inHook = true;
    std::size_t i = g_count.fetch_add(1);
    if (i < kEvents) {
        Event& e = g_events[i];
        e.ptr = ptr;
        e.size = size;
        e.frames = withStack ? backtrace(e.stack, kFrames) : 0;
    } else {
        g_overflow = true;
    }
    t_inHook = false;
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)

extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*malloc_hook)(const volatile void*, std::size_t), void (*free_hook)(const volatile void*));

namespace {
void MallocHook(const volatile void* p, std::size_t size) { Note(p, size ? size : 1, true); }
void FreeHook(const volatile void* p) { Note(p, 0, false); }
void InstallHooks() { __sanitizer_install_malloc_and_free_hooks(&MallocHook, &FreeHook); }
}  // namespace

#else

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void __libc_free(void*);

void* malloc(std::size_t n)
{
    void* p = __libc_malloc(n);
    Note(p, n ? n : 1, true);
    return p;
}
void* calloc(std::size_t n, std::size_t m)
{
    void* p = __libc_calloc(n, m);
    const std::size_t size = n * m;
    Note(p, size != 0 ? size : 1, true);
    return p;
}
void* realloc(void* old, std::size_t n)
{
    void* p = __libc_realloc(old, n);
    if (p) {
        Note(old, 0, false);
        Note(p, n ? n : 1, true);
    }
    return p;
}
void free(void* p)
{
    Note(p, 0, false);
    __libc_free(p);
}
}

namespace {
void InstallHooks() {}
}  // namespace

#endif

namespace {

enum Share { kProgram, kPlatform, kShares };
const char* const kShareNames[] = {"program", "simulated platform"};

std::string ExePath()
{
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return std::string();
    buf[n] = '\0';
    return buf;
}

// The source file of each return address inside this executable, through addr2line.
std::map<void*, std::string> SourceFiles(const std::set<void*>& addresses)
{
    std::map<void*, std::string> files;
    Dl_info self;
    if (!dladdr(reinterpret_cast<void*>(&ExePath), &self)) return files;
    std::vector<void*> inside;
    for (void* a : addresses) {
        Dl_info info;
        if (dladdr(a, &info) && info.dli_fbase == self.dli_fbase) inside.push_back(a);
    }
    if (inside.empty()) return files;
    char list[] = "/tmp/write_heap_addrsXXXXXX";
    int fd = mkstemp(list);
    if (fd < 0) return files;
    FILE* out = fdopen(fd, "w");
    for (void* a : inside) {
        // A return address points past its call; one byte back lies inside it.
        std::uintptr_t offset = reinterpret_cast<std::uintptr_t>(a) - 1 -
                                reinterpret_cast<std::uintptr_t>(self.dli_fbase);
        std::fprintf(out, "0x%jx\n", static_cast<std::uintmax_t>(offset));
    }
    std::fclose(out);
    std::string cmd = "addr2line -e '" + ExePath() + "' < " + list;
    FILE* in = popen(cmd.c_str(), "r");
    char line[8192];
    for (std::size_t i = 0; in && i < inside.size() && std::fgets(line, sizeof line, in); ++i) {
        std::string s(line);
        std::size_t colon = s.rfind(':');
        files[inside[i]] = colon == std::string::npos ? s : s.substr(0, colon);
    }
    if (in) pclose(in);
    std::remove(list);
    return files;
}

bool Under(const std::string& file, const std::string& dir)
{
    return file.compare(0, dir.size(), dir) == 0;
}

// The share of an allocation, and the source file that decided it.
Share ShareOf(const Event& e, const std::map<void*, std::string>& files, const std::string& root,
              std::string* where)
{
    bool direct = true;  // no library or header frame between the allocator and this one
    for (int i = 0; i < e.frames; ++i) {
        auto it = files.find(e.stack[i]);
        const bool ours = it != files.end() && Under(it->second, root);
        if (!ours) {
            // Frames of the allocator itself (and the sanitizer's) come before the caller.
            if (it != files.end()) direct = false;
            continue;
        }
        const std::string rel = it->second.substr(root.size());
        if (Under(rel, "bench/")) continue;  // the hooks themselves
        *where = rel;
        // The block LocalAlloc hands out, as opposed to the simulator's books about it.
        if (direct && rel == "platform/sim/LocalMemory.cpp") return kProgram;
        return Under(rel, "platform/") ? kPlatform : kProgram;
    }
    *where = "(no frame of this source tree)";
    return kPlatform;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool verbose = argc > 1 && std::strcmp(argv[1], "--list") == 0;
    const std::string root = VFLASH_SOURCE_DIR "/";
    // backtrace loads its unwinder on first use; not inside a hook.
    void* warm[4];
    backtrace(warm, 4);
    InstallHooks();

    sim::Scenario s;
    for (auto& d : s.drives) d.state = sim::DriveState::Absent;
    host::ResetWindows();
    sim::Reset(s);

    int result = -1;
    std::thread writer;
    bool started = false;
    host::SetIdleHook([&](HWND hDlg) {
        if (started) return;
        started = true;
        CFlashDlg* dlg = static_cast<CFlashDlg*>(AfxGetMainWnd());
        // The writer runs on a thread of its own, as under the worker, while the dialog's
        // thread handles its progress messages.
        writer = std::thread([&result, s, dlg, hDlg] {
            g_pActiveDlg = dlg;
            sim::Reset(s);  // a fresh diskette, and a trace that holds only this call
            g_recording = true;
            result = WriteDisketteImage("A:");
            g_recording = false;
            g_pActiveDlg = nullptr;
            host::PressKey(hDlg, VK_ESCAPE);
        });
    });
    AfxWinMain();
    writer.join();

    const std::size_t n = std::min(g_count.load(), kEvents);
    std::set<void*> addresses;
    for (std::size_t i = 0; i < n; ++i)
        for (int f = 0; f < g_events[i].frames; ++f) addresses.insert(g_events[i].stack[f]);
    const std::map<void*, std::string> files = SourceFiles(addresses);

    struct Block {
        Share share;
        std::size_t size;
    };
    std::map<const volatile void*, Block> live;
    long long now[kShares] = {}, peak[kShares] = {}, count[kShares] = {};
    long long total = 0, totalPeak = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Event& e = g_events[i];
        if (e.size) {
            std::string where;
            Share sh = ShareOf(e, files, root, &where);
            if (verbose) std::printf("  + %6zu bytes  %-19s %s\n", e.size, kShareNames[sh], where.c_str());
            live[e.ptr] = {sh, e.size};
            now[sh] += static_cast<long long>(e.size);
            total += static_cast<long long>(e.size);
            ++count[sh];
            if (now[sh] > peak[sh]) peak[sh] = now[sh];
            if (total > totalPeak) totalPeak = total;
        } else {
            auto it = live.find(e.ptr);
            if (it == live.end()) continue;  // a block from before the call
            now[it->second.share] -= static_cast<long long>(it->second.size);
            total -= static_cast<long long>(it->second.size);
            live.erase(it);
        }
    }

    std::printf("write_heap: one WriteDisketteImage (result %d), %zu heap events%s\n", result, n,
                g_overflow ? " (log full: numbers are low)" : "");
    for (int sh = 0; sh < kShares; ++sh)
        std::printf("  %-19s peak %8lld bytes above the start, %6lld allocations, %lld bytes still held\n",
                    kShareNames[sh], peak[sh], count[sh], now[sh]);
    std::printf("  %-19s peak %8lld bytes\n", "both", totalPeak);
    std::printf("  aim: the program's peak below 16384 bytes\n");
    return result == 0 ? 0 : 1;
}
