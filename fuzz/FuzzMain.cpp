// vor_fuzz - seeded mutation fuzzer for the picture loaders (TGA, BMP, PNG, GIF, InitGif, host
// pixel blocks); every loaded picture is drawn at random places.
//
//   vor_fuzz [--inputs N] [--seed S] [--batch B] [--timeout SEC] [--seeds DIR]
//       runs inputs 0..N-1 of run seed S in child processes of B inputs each. A child that crashes
//       or hangs is reported with the input's seed and the run goes on after that input.
//   vor_fuzz --replay SEED     runs one input in this process (seed as printed by a failure)
//   vor_fuzz --input I [--seed S]  the same for input I of run seed S
//   vor_fuzz --save SEED FILE  writes that input's bytes to FILE (to keep it in the corpus)
//
// Exit status 0 only when no input crashed, hung or wrote outside the surface.
#include <windows.h>

#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "FuzzInputs.h"
#include "ImageFileBytes.h"
#include "Mutator.h"

using namespace fuzz;

namespace {

// Progress a child shares with its parent, so a child that dies still tells where and why.
struct Progress {
    volatile LONG64 current;  // input being run (-1 between inputs)
    volatile LONG64 nextFirst;
    volatile LONG state;      // 0 running, 1 finished, 2 crashed, 3 hung, 4 stray write
    volatile LONG code;       // exception code of a crash
    volatile LONG64 tried[kLoaderCount], refused[kLoaderCount], loaded[kLoaderCount];
    volatile LONG64 crashes[kLoaderCount], hangs[kLoaderCount], strays[kLoaderCount];
    volatile LONG slowestMs;  // the longest input that finished, and its seed: the watchdog's measure
    volatile LONG64 slowestSeed;
};

Progress* g_progress = nullptr;
uint64_t g_runSeed = 0;
volatile LONG64 g_currentSeed = 0;
volatile LONG g_currentLoader = 0;
volatile DWORD g_inputStart = 0;  // tick count when the running input began
volatile LONG g_inputRunning = 0;
// An input that runs longer than this is a hang. Measured: the slowest of 20000 inputs (run seed
// 0x5EEDF00D, a 1,290-byte RLE8 BMP declaring 16,776,973 x 7 pixels, just under the picture-size
// limit, which GDI+ decodes into 470 MB) took 5.0 s on a 2-core machine; a picture at the limit
// takes about 6 s. Ten times that leaves room for a machine busy with other work.
DWORD g_timeoutMs = 60000;

uint64_t InputSeed(uint64_t runSeed, int64_t index) { return MixSeed(runSeed * 0x100000001B3ull + uint64_t(index)); }

std::string ExeDirectory() {
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    const size_t slash = s.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : s.substr(0, slash);
}

// Prefix of the files a process writes its inputs to.
std::string TempPrefix(DWORD process) {
    char path[MAX_PATH];
    DWORD n = ::GetTempPathA(MAX_PATH, path);
    char name[64];
    std::snprintf(name, sizeof name, "vor_fuzz_%lu_", static_cast<unsigned long>(process));
    return std::string(path, n) + name;
}

std::string TempDirectory() { return TempPrefix(::GetCurrentProcessId()); }

// Removes the input files a finished child left behind.
void RemoveChildFiles(DWORD process) {
    const std::string prefix = TempPrefix(process);
    const std::string directory = prefix.substr(0, prefix.find_last_of('\\') + 1);
    WIN32_FIND_DATAA found;
    HANDLE h = ::FindFirstFileA((prefix + "*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return;
    do ::DeleteFileA((directory + found.cFileName).c_str());
    while (::FindNextFileA(h, &found));
    ::FindClose(h);
}

// A report line built without the C runtime: a crash may leave the runtime's stream, locale or
// heap locks held, so failure reports use none of them and go straight to the output handle.
class ReportLine {
public:
    ReportLine() : m_length(0) { m_text[0] = 0; }
    ReportLine& Add(const char* text) {
        while (text && *text && m_length + 1 < sizeof m_text) m_text[m_length++] = *text++;
        m_text[m_length] = 0;
        return *this;
    }
    ReportLine& Hex(uint64_t value, int digits) {
        char digitsText[17];
        for (int i = digits - 1; i >= 0; --i, value >>= 4) digitsText[i] = "0123456789abcdef"[value & 15];
        digitsText[digits] = 0;
        return Add("0x").Add(digitsText);
    }
    void Write() const {
        DWORD written = 0;
        ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), m_text, DWORD(m_length), &written, nullptr);
    }

private:
    char m_text[700];
    size_t m_length;
};

// Reports the input that is running and ends the process at once (no unwinding through a
// damaged state).
[[noreturn]] void Fail(LONG state, DWORD code, const char* what) {
    ReportLine line;
    line.Add(what).Add(": loader ").Add(LoaderName(g_currentLoader)).Add(", input seed ");
    line.Hex(uint64_t(g_currentSeed), 16).Add(", code ").Hex(code, 8).Add(" (replay: vor_fuzz --replay ");
    line.Hex(uint64_t(g_currentSeed), 16).Add(")\n").Write();
    if (g_progress) {
        g_progress->code = LONG(code);
        g_progress->state = state;
    }
    ::TerminateProcess(::GetCurrentProcess(), 3);
    for (;;) {}
}

// The last fault seen (first chance) in the running input. A fault that something handles is
// harmless; one that ends or wedges the program is reported from the signal, unhandled-fault or
// watchdog hook with this address.
volatile DWORD g_faultCode = 0;
volatile DWORD g_faultTick = 0;
const void* volatile g_faultAddress = nullptr;
volatile ULONG_PTR g_faultAccess[2] = {0, 0};

LONG WINAPI NoteFault(EXCEPTION_POINTERS* e) {
    const DWORD code = e->ExceptionRecord->ExceptionCode;
    if ((code & 0xF0000000u) == 0xC0000000u && g_faultCode == 0) {  // errors only, the first one
        g_faultAddress = e->ExceptionRecord->ExceptionAddress;
        g_faultAccess[0] = e->ExceptionRecord->NumberParameters >= 2 ? e->ExceptionRecord->ExceptionInformation[0] : 0;
        g_faultAccess[1] = e->ExceptionRecord->NumberParameters >= 2 ? e->ExceptionRecord->ExceptionInformation[1] : 0;
        g_faultTick = ::GetTickCount();
        g_faultCode = code;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// Names the fault's address (and, when asked, its module: that takes the loader lock, which a
// wedged fault handler may hold), then reports the input.
[[noreturn]] void FailAtFault(const char* what, DWORD fallbackCode, bool nameModule = true) {
    const void* at = g_faultAddress;
    if (at) {
        ReportLine line;
        line.Add("fault at ").Hex(uint64_t(reinterpret_cast<uintptr_t>(at)), 16);
        HMODULE module = nullptr;
        char name[MAX_PATH] = "";
        if (nameModule &&
            ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                 static_cast<const char*>(at), &module) &&
            ::GetModuleFileNameA(module, name, MAX_PATH))
            line.Add(" = ").Add(name).Add("+").Hex(uint64_t(static_cast<const char*>(at) - reinterpret_cast<const char*>(module)), 8);
        line.Add(g_faultAccess[0] ? ", writing " : ", reading ").Hex(g_faultAccess[1], 16).Add("\n").Write();
    }
    Fail(2, g_faultCode ? g_faultCode : fallbackCode, what);
}

LONG WINAPI OnUnhandled(EXCEPTION_POINTERS* e) {
    NoteFault(e);
    FailAtFault("CRASH", e->ExceptionRecord->ExceptionCode);
}
// The C runtime turns faults into signals before the unhandled-fault hook would run.
void OnSignal(int sig) { FailAtFault(sig == SIGABRT ? "CRASH (abort)" : "CRASH", 0xC0000000u | unsigned(sig)); }
void OnTerminate() { Fail(2, 0x7Eu, "CRASH (terminate)"); }

DWORD WINAPI Watchdog(void*) {
    for (;;) {
        ::Sleep(200);
        if (!g_inputRunning) continue;
        // A fault the input did not get past within a second (its handling wedged): a crash.
        if (g_faultCode != 0 && ::GetTickCount() - g_faultTick > 1000) FailAtFault("CRASH", 0, false);
        const DWORD start = g_inputStart;
        if (start == g_inputStart && ::GetTickCount() - start > g_timeoutMs) Fail(3, 0, "HANG");
    }
}

void InstallCrashReporting() {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ::AddVectoredExceptionHandler(1, NoteFault);
    ::SetUnhandledExceptionFilter(OnUnhandled);
    std::signal(SIGSEGV, OnSignal);
    std::signal(SIGILL, OnSignal);
    std::signal(SIGFPE, OnSignal);
    std::signal(SIGABRT, OnSignal);
    std::set_terminate(OnTerminate);
    ::CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
}

// Runs one input, counting it. False when it wrote outside the surface.
bool RunCounted(uint64_t seed, const SeedFiles& seeds, const std::string& temp, Progress* p) {
    const Input input = MakeInput(seed, seeds);
    g_currentSeed = LONG64(seed);
    g_currentLoader = input.loader;
    g_inputRunning = 0;
    g_faultCode = 0;
    g_faultAddress = nullptr;
    g_inputStart = ::GetTickCount();
    g_inputRunning = 1;
    Outcome outcome;
    const bool clean = RunInput(input, temp, &outcome);
    g_inputRunning = 0;
    const LONG took = LONG(::GetTickCount() - g_inputStart);
    if (p && took > p->slowestMs) {
        p->slowestMs = took;
        p->slowestSeed = LONG64(seed);
    }
    if (!p)
        std::printf("input 0x%016" PRIx64 ": loader %s, %u bytes, %s\n", seed, LoaderName(input.loader),
                    unsigned(input.bytes.size()), outcome == kLoaded ? "loaded" : "refused");
    if (p) {
        ++p->tried[input.loader];
        ++(outcome == kLoaded ? p->loaded : p->refused)[input.loader];
        if (!clean) ++p->strays[input.loader];
    }
    if (!clean)
        std::printf("FAULT: loader %s, input seed 0x%016" PRIx64 " wrote outside the pixels or answered wrongly\n",
                    LoaderName(input.loader), seed);
    return clean;
}

int RunChild(const char* mapping, int64_t first, int64_t count, const SeedFiles& seeds) {
    HANDLE h = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, mapping);
    if (!h) return 2;
    g_progress = static_cast<Progress*>(::MapViewOfFile(h, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Progress)));
    if (!g_progress) return 2;
    InstallCrashReporting();
    const std::string temp = TempDirectory();
    for (int64_t i = first; i < first + count; ++i) {
        g_progress->current = i;
        RunCounted(InputSeed(g_runSeed, i), seeds, temp, g_progress);
    }
    g_progress->current = -1;
    g_progress->state = 1;
    std::fflush(stdout);
    return 0;
}

int RunParent(int64_t inputs, int64_t batch, const char* seedDir) {
    char name[96];
    std::snprintf(name, sizeof name, "Local\\vor_fuzz_%lu", static_cast<unsigned long>(::GetCurrentProcessId()));
    HANDLE map = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Progress), name);
    Progress* p = map ? static_cast<Progress*>(::MapViewOfFile(map, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Progress))) : nullptr;
    if (!p) {
        std::printf("cannot share progress with the children\n");
        return 2;
    }
    std::memset(const_cast<Progress*>(p), 0, sizeof(Progress));
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::printf("vor_fuzz: run seed 0x%016" PRIx64 ", %" PRId64 " inputs, batches of %" PRId64 "\n", g_runSeed, inputs,
                batch);
    std::fflush(stdout);
    const DWORD started = ::GetTickCount();
    int64_t first = 0;
    while (first < inputs) {
        const int64_t count = inputs - first < batch ? inputs - first : batch;
        p->state = 0;
        p->current = -1;
        char command[1024];
        std::snprintf(command, sizeof command,
                      "\"%s\" --child %s %" PRId64 " %" PRId64 " --seed 0x%016" PRIx64 " --timeout %lu --seeds \"%s\"",
                      exe, name, first, count, g_runSeed, static_cast<unsigned long>(g_timeoutMs / 1000), seedDir);
        STARTUPINFOA si;
        std::memset(&si, 0, sizeof si);
        si.cb = sizeof si;
        PROCESS_INFORMATION pi;
        if (!::CreateProcessA(nullptr, command, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
            std::printf("cannot start a child\n");
            return 2;
        }
        // The child's own watchdog reports hangs; this one catches a child wedged so badly that
        // even its watchdog cannot end it (its input counts as a hang).
        LONG64 seen = -2;
        DWORD lastChange = ::GetTickCount();
        while (::WaitForSingleObject(pi.hProcess, 1000) == WAIT_TIMEOUT) {
            if (p->current != seen || p->state != 0) {
                seen = p->current;
                lastChange = ::GetTickCount();
            } else if (::GetTickCount() - lastChange > g_timeoutMs + 30000) {
                std::printf("HANG: a child stopped answering in input seed 0x%016" PRIx64 " (replay: vor_fuzz --replay 0x%016" PRIx64 ")\n",
                            InputSeed(g_runSeed, seen), InputSeed(g_runSeed, seen));
                p->state = 3;
                ::TerminateProcess(pi.hProcess, 4);
                ::WaitForSingleObject(pi.hProcess, 5000);
                break;
            }
        }
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
        RemoveChildFiles(pi.dwProcessId);
        if (p->state == 1) {
            first += count;
            int64_t bad = 0;
            for (int l = 0; l < kLoaderCount; ++l) bad += p->crashes[l] + p->hangs[l] + p->strays[l];
            std::printf("  %" PRId64 " inputs done, %" PRId64 " failing\n", first, bad);
            continue;
        }
        // The child stopped inside an input: count it against its loader and go on after it.
        const int64_t at = p->current;
        if (at < 0) {
            std::printf("a child died between inputs (batch at %" PRId64 ")\n", first);
            return 2;
        }
        std::printf("  (input %" PRId64 " of the run)\n", at);
        if (p->state != 3 && p->state != 2)
            std::printf("  the child ended inside input seed 0x%016" PRIx64 " without a report\n",
                        InputSeed(g_runSeed, at));
        // The loader of the failed input follows from its seed alone (as MakeInput picks it).
        const int l = LoaderOf(InputSeed(g_runSeed, at));
        ++p->tried[l];
        ++(p->state == 3 ? p->hangs : p->crashes)[l];
        first = at + 1;
    }
    const double seconds = (::GetTickCount() - started) / 1000.0;
    std::printf("\n%-8s %9s %9s %9s %8s %6s %6s\n", "loader", "tried", "refused", "loaded", "crashes", "hangs", "faults");
    int64_t total[6] = {0, 0, 0, 0, 0, 0};
    for (int l = 0; l < kLoaderCount; ++l) {
        const int64_t row[6] = {p->tried[l], p->refused[l], p->loaded[l], p->crashes[l], p->hangs[l], p->strays[l]};
        std::printf("%-8s %9" PRId64 " %9" PRId64 " %9" PRId64 " %8" PRId64 " %6" PRId64 " %6" PRId64 "\n",
                    LoaderName(l), row[0], row[1], row[2], row[3], row[4], row[5]);
        for (int k = 0; k < 6; ++k) total[k] += row[k];
    }
    std::printf("%-8s %9" PRId64 " %9" PRId64 " %9" PRId64 " %8" PRId64 " %6" PRId64 " %6" PRId64 "\n", "total",
                total[0], total[1], total[2], total[3], total[4], total[5]);
    std::printf("%.1f s, %.0f inputs/s\n", seconds, seconds > 0 ? total[0] / seconds : 0.0);
    std::printf("slowest input %.1f s (seed 0x%016" PRIx64 "), hang watchdog %lu s\n", p->slowestMs / 1000.0,
                uint64_t(p->slowestSeed), static_cast<unsigned long>(g_timeoutMs / 1000));
    return total[3] + total[4] + total[5] == 0 ? 0 : 1;
}

uint64_t Number(const char* text) { return std::strtoull(text, nullptr, 0); }

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // reports from a failing child keep their order
    int64_t inputs = 3000, batch = 2500;
    g_runSeed = 0x5EEDF00Dull;
    std::string seedDir = ExeDirectory() + "\\fuzz_seeds";
    const char* childMapping = nullptr;
    int64_t childFirst = 0, childCount = 0;
    const char* replay = nullptr;
    const char* replayIndex = nullptr;
    const char* saveSeed = nullptr;
    const char* saveFile = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--inputs" && more) inputs = int64_t(Number(argv[++i]));
        else if (a == "--seed" && more) g_runSeed = Number(argv[++i]);
        else if (a == "--batch" && more) batch = int64_t(Number(argv[++i]));
        else if (a == "--timeout" && more) g_timeoutMs = DWORD(Number(argv[++i]) * 1000);
        else if (a == "--seeds" && more) seedDir = argv[++i];
        else if (a == "--replay" && more) replay = argv[++i];
        else if (a == "--input" && more) replayIndex = argv[++i];
        else if (a == "--save" && i + 2 < argc) { saveSeed = argv[++i]; saveFile = argv[++i]; }
        else if (a == "--child" && i + 3 < argc) {
            childMapping = argv[++i];
            childFirst = int64_t(Number(argv[++i]));
            childCount = int64_t(Number(argv[++i]));
        } else {
            std::printf("usage: vor_fuzz [--inputs N] [--seed S] [--batch B] [--timeout SEC] [--seeds DIR]\n"
                        "       vor_fuzz --replay SEED | --input I [--seed S] | --save SEED FILE\n");
            return 2;
        }
    }
    if (batch < 1) batch = 1;
    SeedFiles seeds;
    if (!seeds.Load(seedDir)) {
        std::printf("no seed pictures in %s (need .tga, .bmp, .png and .gif files)\n", seedDir.c_str());
        return 2;
    }
    if (childMapping) return RunChild(childMapping, childFirst, childCount, seeds);
    if (saveSeed) {
        const Input input = MakeInput(Number(saveSeed), seeds);
        if (!imagefile::WriteFile(saveFile, input.bytes)) return 2;
        std::printf("%s input written to %s\n", LoaderName(input.loader), saveFile);
        return 0;
    }
    if (replay || replayIndex) {
        InstallCrashReporting();
        SetTrace(true);
        const uint64_t seed = replay ? Number(replay) : InputSeed(g_runSeed, int64_t(Number(replayIndex)));
        const bool clean = RunCounted(seed, seeds, TempDirectory(), nullptr);
        std::printf("%s\n", clean ? "no fault" : "fault");
        return clean ? 0 : 1;
    }
    return RunParent(inputs, batch, seedDir.c_str());
}
