#include "platform/Paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

std::string NativePath(std::string_view gamePath) {
    std::string path(gamePath);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

void ListFiles(std::string_view gameFolder, std::vector<std::string>& files) {
    std::error_code error;
    std::filesystem::directory_iterator it(NativePath(gameFolder), error);
    if (error) {
        return;
    }
    std::vector<std::string> names;
    for (const auto& entry : it) {
        std::error_code typeError;
        if (entry.is_regular_file(typeError)) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    for (const auto& name : names) {
        files.push_back(std::string(gameFolder) + "\\" + name);
    }
}
