#pragma once

#include <string>

// Keeps a copy of a data file that a play-through edits through the game (a level, a layout) and puts it
// back when the guard goes, also when the test fails on the way. A copy that a run which crashed left
// behind is put back first, so the tracked file never stays edited.
class FileGuard {
public:
    // Guards the file at a game path ("XMLFiles\..."), keeping its copy in the folder.
    FileGuard(const std::string& gamePath, const std::string& copyFolder);
    ~FileGuard();
    FileGuard(const FileGuard&) = delete;
    FileGuard& operator=(const FileGuard&) = delete;

    // True when the file could be read and its copy written.
    bool kept() const { return kept_; }
    // The file's contents when the guard was made.
    const std::string& original() const { return original_; }
    // Writes the original contents back; true when the file holds them again.
    bool Restore();

private:
    std::string path_;
    std::string copy_;
    std::string original_;
    bool kept_ = false;
};

// The whole contents of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
