#include "platform/CrashDump.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <execinfo.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int kMaxFrames = 64;

// The folder dumps are written into (AT_FDCWD: the working directory), and its name for the message.
int dumpFolderFd = AT_FDCWD;
char dumpFolderName[512] = "";

// Room for the handler when the crash was a stack overflow.
alignas(16) char alternateStack[64 * 1024];

void WriteText(int fd, const char* text) {
    size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t written = write(fd, text, left);
        if (written <= 0) {
            if (written < 0 && errno == EINTR) {
                continue;
            }
            return;
        }
        text += written;
        left -= static_cast<size_t>(written);
    }
}

// Formats value in the given base into buffer (at least 24 bytes), without the C library.
const char* FormatNumber(char* buffer, uintptr_t value, unsigned base) {
    char* end = buffer + 23;
    *end = '\0';
    char* p = end;
    do {
        const unsigned digit = static_cast<unsigned>(value % base);
        *--p = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
        value /= base;
    } while (value != 0 && p > buffer);
    return p;
}

const char* SignalName(int signal) {
    switch (signal) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGFPE:
        return "SIGFPE";
    case SIGILL:
        return "SIGILL";
    case SIGABRT:
        return "SIGABRT";
    default:
        return "signal";
    }
}

void CrashHandler(int signal, siginfo_t* info, void*) {
    const int savedErrno = errno;
    WriteCrashDump(signal, info ? info->si_addr : nullptr);
    errno = savedErrno;
    // The handler was reset on entry: raising again (or returning to the faulting instruction) ends the
    // process with the signal's default action.
    raise(signal);
}

} // namespace

int CreateCrashDumpFile(char* name, size_t size) {
    static const char prefix[] = "crashDump";
    static const char suffix[] = ".dmp";
    for (uintptr_t n = 1;; ++n) {
        char digits[24];
        const char* number = FormatNumber(digits, n, 10);
        if (sizeof(prefix) - 1 + std::strlen(number) + sizeof(suffix) > size) {
            errno = ENAMETOOLONG;
            return -1;
        }
        char* p = name;
        for (const char* s = prefix; *s; ++s) {
            *p++ = *s;
        }
        for (const char* s = number; *s; ++s) {
            *p++ = *s;
        }
        for (const char* s = suffix; *s; ++s) {
            *p++ = *s;
        }
        *p = '\0';
        const int fd = openat(dumpFolderFd, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
}

void WriteCrashDumpTo(int fd, int signal, const void* faultAddress) {
    char digits[24];
    WriteText(fd, "Vantor crash dump\nsignal: ");
    WriteText(fd, FormatNumber(digits, static_cast<uintptr_t>(signal), 10));
    WriteText(fd, " (");
    WriteText(fd, SignalName(signal));
    WriteText(fd, ")\nfault address: 0x");
    WriteText(fd, FormatNumber(digits, reinterpret_cast<uintptr_t>(faultAddress), 16));
    WriteText(fd, "\nbacktrace:\n");
    void* frames[kMaxFrames];
    const int count = backtrace(frames, kMaxFrames);
    backtrace_symbols_fd(frames, count, fd);
}

bool WriteCrashDump(int signal, const void* faultAddress) {
    char name[32];
    const int fd = CreateCrashDumpFile(name, sizeof(name));
    if (fd < 0) {
        char digits[24];
        WriteText(STDERR_FILENO, "Failed to write minidump\n error code: ");
        WriteText(STDERR_FILENO, FormatNumber(digits, static_cast<uintptr_t>(errno), 10));
        WriteText(STDERR_FILENO, "\n");
        return false;
    }
    WriteCrashDumpTo(fd, signal, faultAddress);
    close(fd);
    WriteText(STDERR_FILENO, "Vantor stopped after a fatal error; details are in ");
    if (dumpFolderName[0] != '\0') {
        WriteText(STDERR_FILENO, dumpFolderName);
        WriteText(STDERR_FILENO, "/");
    }
    WriteText(STDERR_FILENO, name);
    WriteText(STDERR_FILENO, "\n");
    return true;
}

bool SetCrashDumpFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || folder.size() >= sizeof(dumpFolderName)) {
        if (fd >= 0) {
            close(fd);
        }
        return false;
    }
    if (dumpFolderFd != AT_FDCWD) {
        close(dumpFolderFd);
    }
    dumpFolderFd = fd;
    std::memcpy(dumpFolderName, folder.c_str(), folder.size() + 1);
    return true;
}

void InstallCrashHandler() {
    // backtrace() loads its unwinder on first use, which is not safe inside a handler: do it now.
    void* warmUp[1];
    backtrace(warmUp, 1);

    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof(alternateStack);
    sigaltstack(&stack, nullptr);

    struct sigaction action {};
    action.sa_sigaction = CrashHandler;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal : kFatalSignals) {
        sigaction(signal, &action, nullptr);
    }
}
