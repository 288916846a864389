#include "platform/DurableSave.h"

#include "platform/Paths.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

BeforeReplaceHook beforeReplace = nullptr;

std::string Reason(int code) {
    return std::strerror(code);
}

// The file a save really replaces: a target that is a link is followed, so the link stays a link.
std::string ResolvedTarget(const std::string& nativePath) {
    struct stat info {};
    if (lstat(nativePath.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* real = realpath(nativePath.c_str(), nullptr)) {
            std::string resolved(real);
            std::free(real);
            return resolved;
        }
    }
    return nativePath;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view contents, int& code) {
    const char* data = contents.data();
    size_t left = contents.size();
    while (left > 0) {
        const ssize_t written = write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            code = errno;
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

// Writes and syncs the temporary file; the target's permissions carry over when there is a target.
bool WriteTemporary(const std::string& temporary, const std::string& target, std::string_view contents,
                    int& code) {
    struct stat info {};
    const bool hadTarget = stat(target.c_str(), &info) == 0;
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        code = errno;
        return false;
    }
    bool ok = WriteAll(fd, contents, code);
    if (ok && hadTarget && fchmod(fd, info.st_mode & 07777) != 0) {
        code = errno;
        ok = false;
    }
    if (ok && fsync(fd) != 0) {
        code = errno;
        ok = false;
    }
    if (close(fd) != 0 && ok) {
        code = errno;
        ok = false;
    }
    return ok;
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        // The new file is already in place; a folder that cannot be synced changes nothing for it.
        fsync(fd);
        close(fd);
    }
}

} // namespace

bool SaveFileDurably(const std::string& gamePath, std::string_view contents, std::string& error) {
    error.clear();
    if (gamePath.empty()) {
        error = "the file has no name";
        return false;
    }
    const std::string target = ResolvedTarget(SavePath(gamePath));
    if (access(target.c_str(), F_OK) == 0 && access(target.c_str(), W_OK) != 0) {
        error = errno == EACCES ? "the file is read-only" : Reason(errno);
        return false;
    }
    const std::string temporary = target + ".saving";
    int code = 0;
    if (!WriteTemporary(temporary, target, contents, code)) {
        unlink(temporary.c_str());
        error = Reason(code);
        return false;
    }
    if (beforeReplace != nullptr) {
        beforeReplace(temporary);
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        code = errno;
        unlink(temporary.c_str());
        error = Reason(code);
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}

std::string SaveFailedText(const std::string& gamePath, const std::string& error) {
    if (gamePath.empty()) {
        return "Could not save: " + error + ".";
    }
    return "Could not save " + gamePath + ": " + error + ". The file on disk was not changed.";
}

BeforeReplaceHook SetBeforeReplaceHook(BeforeReplaceHook hook) {
    return std::exchange(beforeReplace, hook);
}
