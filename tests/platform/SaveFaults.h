#pragma once

// Runs a save in a child process while the disk misbehaves: the folder cannot be written, the disk fills
// up (a file size limit), or the process is killed after the new file is written but before it replaces the
// old one. The child reports whether the save claimed success and the text of every box it showed.

#include "platform/Dialog.h"
#include "platform/DurableSave.h"

#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

enum class SaveFault { ReadOnlyFolder, FullDisk, KilledBeforeReplace };

inline const char* SaveFaultName(SaveFault fault) {
    switch (fault) {
    case SaveFault::ReadOnlyFolder:
        return "read-only folder";
    case SaveFault::FullDisk:
        return "full disk";
    default:
        return "killed before the rename";
    }
}

constexpr SaveFault kEverySaveFault[] = {SaveFault::ReadOnlyFolder, SaveFault::FullDisk,
                                         SaveFault::KilledBeforeReplace};

// What the child did.
struct FaultedSave {
    bool killed = false; // ended by SIGKILL (the KilledBeforeReplace fault)
    bool saved = false;  // the save reported success
    std::string boxes;   // the text of every box shown, one per line
};

namespace savefaults {

inline void WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0) {
            return;
        }
        done += static_cast<size_t>(n);
    }
}

inline void KillNow(const std::string&) {
    raise(SIGKILL);
}

// Makes the folder unwritable for this process: its mode, and for root (whom modes do not stop) a user
// that does not own it.
inline bool LoseWriteAccess(const std::string& folder) {
    if (chmod(folder.c_str(), 0555) != 0) {
        return false;
    }
    if (geteuid() == 0) {
        return setgid(65534) == 0 && setuid(65534) == 0;
    }
    return true;
}

} // namespace savefaults

// Runs save() in a child under the fault; folder is the folder the file is saved in.
inline FaultedSave SaveUnderFault(SaveFault fault, const std::string& folder,
                                  const std::function<bool()>& save) {
    FaultedSave result;
    int channel[2];
    if (pipe(channel) != 0) {
        result.boxes = "no pipe";
        return result;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        DialogRecorder recorder;
        bool ready = true;
        switch (fault) {
        case SaveFault::ReadOnlyFolder:
            ready = savefaults::LoseWriteAccess(folder);
            break;
        case SaveFault::FullDisk: {
            // Writing past the limit then fails with EFBIG instead of ending the process.
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit {};
            limit.rlim_cur = limit.rlim_max = 16;
            ready = setrlimit(RLIMIT_FSIZE, &limit) == 0;
            break;
        }
        case SaveFault::KilledBeforeReplace:
            SetBeforeReplaceHook(savefaults::KillNow);
            break;
        }
        std::string report = ready ? (save() ? "1" : "0") : "fault not set up";
        for (const DialogRequest& box : recorder.shown()) {
            report += "\n" + box.text;
        }
        savefaults::WriteAll(channel[1], report);
        _exit(0);
    }
    close(channel[1]);
    std::string report;
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(channel[0], buffer, sizeof buffer)) > 0) {
        report.append(buffer, static_cast<size_t>(n));
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    chmod(folder.c_str(), 0755);
    result.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    result.saved = !report.empty() && report[0] == '1';
    const size_t newline = report.find('\n');
    result.boxes = newline == std::string::npos ? "" : report.substr(newline + 1);
    if (!report.empty() && report[0] != '0' && report[0] != '1') {
        result.boxes = report;
    }
    return result;
}
