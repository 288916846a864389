#pragma once

#include "render/ModelNode.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Reads the subset of ASCII scene export (ASE) files the game's models use: geometry objects with their
// vertices, triangles, texture coordinates, vertex colours, node transforms, parent links and keyframe
// samples. The file's z-up coordinates become y-up by exchanging y and z, and world-space data becomes
// node-local and parent-relative. Faulty lines are skipped with a message naming the file and line.
class AseLoader {
public:
    // Reads the file at a game path into a new model tree; null when the path is empty, the file cannot
    // be opened or it holds no geometry object. Display lists are not built here.
    std::unique_ptr<ModelNode> ParseAse(const std::string& gamePath);

    // Messages about skipped or mended content of the last file read (also printed to standard error).
    const std::vector<std::string>& messages() const { return messages_; }
    // Whether messages are also printed to standard error (the default).
    void SetEchoMessages(bool echo) { echo_ = echo; }

    // The value of *SCENE_LASTFRAME of the last file that had one.
    int32_t lastFrame() const { return lastFrame_; }
    // The value of *SCENE_TICKSPERFRAME; kept from one file to the next when a file does not name it.
    int32_t ticksPerFrame() const { return ticksPerFrame_; }

private:
    struct ObjectReader;

    void ReadObject(std::FILE* file);
    void LinkNode(std::unique_ptr<ModelNode> node, const std::string& parentName);
    void Warn(const std::string& text);
    bool ReadLine(std::FILE* file);

    std::string path_;
    int lineNumber_ = 0;
    std::string line_;
    std::unique_ptr<ModelNode> result_;
    int32_t lastFrame_ = 0;
    int32_t ticksPerFrame_ = 0;
    std::vector<std::string> messages_;
    bool echo_ = true;
};

// Converts the world-space transforms, keys and vertices of a freshly read tree into parent-relative and
// node-local form.
void MakeModelRelative(ModelNode& root);
