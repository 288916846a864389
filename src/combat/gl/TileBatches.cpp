#include "combat/gl/TileBatches.h"

#include "render/ModelNode.h"

#include <GL/glew.h>
#include <SDL_video.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

TileBatches::~TileBatches() {
    // At process exit the context may already be gone; there is nothing left to free then.
    if (buffer_ != 0 && glDeleteBuffers != nullptr && SDL_GL_GetCurrentContext() != nullptr) {
        glDeleteBuffers(1, &buffer_);
    }
}

void TileBatches::Update(const LevelMap& map, const ModelNode& block, uint32_t whiteTexture) {
    const std::vector<MapTile>& tiles = map.tiles();
    bool same = width_ == map.width() && keys_.size() == tiles.size();
    if (same) {
        for (size_t i = 0; i < tiles.size() && same; ++i) {
            same = keys_[i] == Key{tiles[i].elevation, map.TextureHandleOf(tiles[i])};
        }
    }
    if (same) {
        return;
    }
    width_ = map.width();
    keys_.resize(tiles.size());
    first_.assign(tiles.size(), -1);
    textureOf_.assign(tiles.size(), 0);
    count_.assign(tiles.size(), 0);
    corners_.clear();
    // The block's corners as its display list sends them: faces with a corner outside the mesh are left out.
    const size_t vertexCount = block.vertices.size();
    std::vector<const ModelFace*> faces;
    for (const ModelFace& face : block.faces) {
        if (face.vertices[0] < vertexCount && face.vertices[1] < vertexCount && face.vertices[2] < vertexCount) {
            faces.push_back(&face);
        }
    }
    // A side of a block that leans on a neighbour at least as high is inside the neighbour's block: no ray
    // from outside reaches it past the neighbour's own faces, so it is left out.
    const auto heightAt = [&](int64_t x, int64_t y) -> int32_t {
        if (x < 0 || y < 0 || x >= int64_t(width_) || y >= int64_t(tiles.size() / std::max(width_, 1u))) {
            return 0;
        }
        return tiles[static_cast<size_t>(x + y * int64_t(width_))].elevation;
    };
    const auto hidden = [&](const ModelFace& face, size_t i, int32_t elevation) {
        if (elevation <= 0) {
            return false;
        }
        const Vector3& n = face.normal;
        const float side = std::max(std::abs(n.x), std::abs(n.z));
        if (std::abs(n.y) > 1e-4f * side || side == 0.0f) {
            return false;
        }
        const int64_t x = static_cast<int64_t>(i % width_);
        const int64_t y = static_cast<int64_t>(i / width_);
        const int64_t dx = std::abs(n.x) >= std::abs(n.z) ? (n.x > 0 ? 1 : -1) : 0;
        const int64_t dy = dx == 0 ? (n.z > 0 ? 1 : -1) : 0;
        return heightAt(x + dx, y + dy) >= elevation;
    };
    for (size_t i = 0; i < tiles.size(); ++i) {
        const MapTile& tile = tiles[i];
        const uint32_t texture = map.TextureHandleOf(tile);
        keys_[i] = Key{tile.elevation, texture};
        textureOf_[i] = texture != 0 ? texture : whiteTexture;
        if (tile.elevation == 0) {
            continue;
        }
        const float x = static_cast<float>(i % width_) * 4.0f;
        const float z = static_cast<float>(i / width_) * 4.0f;
        const float scale = static_cast<float>(tile.elevation);
        first_[i] = static_cast<int32_t>(corners_.size());
        for (const ModelFace* face : faces) {
            if (hidden(*face, i, tile.elevation)) {
                continue;
            }
            for (int k = 0; k < 3; ++k) {
                const ModelVertex& vertex = block.vertices[face->vertices[k]];
                Corner corner{};
                corner.position[0] = vertex.position.x + x;
                corner.position[1] = vertex.position.y * scale;
                corner.position[2] = vertex.position.z + z;
                // What the normal matrix of the block's translate-and-scale makes of its face normal.
                corner.normal[0] = face->normal.x;
                corner.normal[1] = face->normal.y / scale;
                corner.normal[2] = face->normal.z;
                const uint32_t t = face->texVertices[k];
                if (t < block.texVertices.size()) {
                    corner.uv[0] = block.texVertices[t].u;
                    corner.uv[1] = block.texVertices[t].v;
                }
                corners_.push_back(corner);
            }
        }
        count_[i] = static_cast<uint32_t>(corners_.size()) - static_cast<uint32_t>(first_[i]);
    }
    uploaded_ = false;
}

void TileBatches::Begin() {
    textures_.clear();
    for (std::vector<uint32_t>& list : indices_) {
        list.clear();
    }
}

void TileBatches::Add(size_t index) {
    if (!Batched(index)) {
        return;
    }
    const uint32_t texture = textureOf_[index];
    size_t slot = 0;
    while (slot < textures_.size() && textures_[slot] != texture) {
        ++slot;
    }
    if (slot == textures_.size()) {
        textures_.push_back(texture);
        if (indices_.size() < textures_.size()) {
            indices_.emplace_back();
        }
    }
    std::vector<uint32_t>& list = indices_[slot];
    const auto first = static_cast<uint32_t>(first_[index]);
    for (uint32_t k = 0; k < count_[index]; ++k) {
        list.push_back(first + k);
    }
}

void TileBatches::Draw() {
    if (textures_.empty() || corners_.empty()) {
        return;
    }
    const bool buffers = glGenBuffers != nullptr && glBindBuffer != nullptr && glBufferData != nullptr;
    const char* base = reinterpret_cast<const char*>(corners_.data());
    if (buffers) {
        if (buffer_ == 0) {
            glGenBuffers(1, &buffer_);
        }
        glBindBuffer(GL_ARRAY_BUFFER, buffer_);
        if (!uploaded_) {
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(corners_.size() * sizeof(Corner)),
                         corners_.data(), GL_STATIC_DRAW);
            uploaded_ = true;
        }
        base = nullptr;
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Corner), base + offsetof(Corner, position));
    glNormalPointer(GL_FLOAT, sizeof(Corner), base + offsetof(Corner, normal));
    glTexCoordPointer(2, GL_FLOAT, sizeof(Corner), base + offsetof(Corner, uv));
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    for (size_t slot = 0; slot < textures_.size(); ++slot) {
        const std::vector<uint32_t>& list = indices_[slot];
        if (list.empty()) {
            continue;
        }
        glBindTexture(GL_TEXTURE_2D, textures_[slot]);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(list.size()), GL_UNSIGNED_INT, list.data());
    }
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    if (buffers) {
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
}
