#include "platform/Paths.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

std::string& UserFolderValue() {
    static std::string folder;
    return folder;
}

std::string Slashed(std::string_view gamePath) {
    std::string path(gamePath);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool Relative(const std::string& path) {
    return !path.empty() && path.front() != '/';
}

// $name when it is an absolute path, else $HOME + fallback.
std::string XdgFolder(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] == '/') {
        return std::string(value) + "/vantor";
    }
    const char* home = std::getenv("HOME");
    std::string base = home != nullptr && home[0] != '\0' ? home : ".";
    return base + fallback + "/vantor";
}

bool HoldsGameFiles(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder / "XMLFiles", error);
}

void AddNames(const std::string& folder, std::set<std::string>& names) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) {
        return;
    }
    for (const auto& entry : it) {
        std::error_code typeError;
        if (entry.is_regular_file(typeError)) {
            names.insert(entry.path().filename().string());
        }
    }
}

} // namespace

std::string NativePath(std::string_view gamePath) {
    std::string path = Slashed(gamePath);
    const std::string& user = UserFolderValue();
    if (!user.empty() && Relative(path)) {
        std::string copy = user + "/" + path;
        std::error_code error;
        if (fs::exists(copy, error)) {
            return copy;
        }
    }
    return path;
}

std::string SavePath(std::string_view gamePath) {
    std::string path = Slashed(gamePath);
    const std::string& user = UserFolderValue();
    if (user.empty() || !Relative(path)) {
        return path;
    }
    std::string copy = user + "/" + path;
    std::error_code error;
    fs::create_directories(fs::path(copy).parent_path(), error);
    return copy;
}

std::string SetUserFolder(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return std::exchange(UserFolderValue(), std::move(folder));
}

const std::string& UserFolder() {
    return UserFolderValue();
}

void ListFiles(std::string_view gameFolder, std::vector<std::string>& files) {
    const std::string folder = Slashed(gameFolder);
    std::set<std::string> names;
    AddNames(folder, names);
    const std::string& user = UserFolderValue();
    if (!user.empty() && Relative(folder)) {
        AddNames(user + "/" + folder, names);
    }
    for (const auto& name : names) {
        files.push_back(std::string(gameFolder) + "\\" + name);
    }
}

std::string ConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", "/.config");
}

std::string DataFolder() {
    return XdgFolder("XDG_DATA_HOME", "/.local/share");
}

bool MakeFolders(const std::string& folder, std::string& error) {
    std::error_code code;
    fs::create_directories(folder, code);
    if (code || !fs::is_directory(folder, code)) {
        error = code ? code.message() : "not a folder";
        return false;
    }
    return true;
}

std::string InstalledDataFolder(const std::string& programPath) {
    if (programPath.empty()) {
        return {};
    }
    const fs::path bin = fs::path(programPath).parent_path();
    if (bin.filename() != "bin") {
        return {};
    }
    const fs::path data = bin.parent_path() / "share" / "vantor";
    return HoldsGameFiles(data) ? data.lexically_normal().string() : std::string();
}

std::string RunFolderOf(const std::string& programPath) {
    if (programPath.empty()) {
        return {};
    }
    const fs::path folder = fs::path(programPath).parent_path();
    return HoldsGameFiles(folder) ? folder.string() : std::string();
}

std::string ProgramPath() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.string();
}

StartFolders ChooseStartFolders(const std::string& programPath, const std::string& playerDataFolder) {
    StartFolders folders;
    folders.workingFolder = InstalledDataFolder(programPath);
    if (!folders.workingFolder.empty()) {
        folders.userFolder = playerDataFolder;
        return folders;
    }
    folders.workingFolder = RunFolderOf(programPath);
    return folders;
}

bool EnterStartFolders(const StartFolders& folders, std::string& error) {
    if (!folders.workingFolder.empty()) {
        std::error_code code;
        fs::current_path(folders.workingFolder, code);
        if (code) {
            error = code.message();
            return false;
        }
    }
    if (!folders.userFolder.empty()) {
        MakeFolders(folders.userFolder, error);
        SetUserFolder(folders.userFolder);
    }
    return true;
}
