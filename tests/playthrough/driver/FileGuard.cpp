#include "driver/FileGuard.h"

#include "platform/Paths.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

bool WriteWholeFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    out.close();
    return !out.fail();
}

} // namespace

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

FileGuard::FileGuard(const std::string& gamePath, const std::string& copyFolder)
    : path_(NativePath(gamePath)) {
    std::error_code error;
    std::filesystem::create_directories(copyFolder, error);
    copy_ = (std::filesystem::path(copyFolder) / (std::filesystem::path(path_).filename().string() + ".kept"))
                .string();
    // A copy left by a run that did not get to put it back holds the file as it was before that run.
    if (std::filesystem::is_regular_file(copy_, error)) {
        const std::string left = ReadWholeFile(copy_);
        if (!left.empty()) {
            WriteWholeFile(path_, left);
        }
    }
    original_ = ReadWholeFile(path_);
    kept_ = !original_.empty() && WriteWholeFile(copy_, original_);
}

FileGuard::~FileGuard() {
    Restore();
}

bool FileGuard::Restore() {
    if (!kept_) {
        return false;
    }
    if (ReadWholeFile(path_) != original_ && !WriteWholeFile(path_, original_)) {
        return false;
    }
    std::error_code error;
    std::filesystem::remove(copy_, error);
    return ReadWholeFile(path_) == original_;
}
