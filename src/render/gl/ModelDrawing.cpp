#include "render/gl/ModelDrawing.h"

#include "data/Component.h"
#include "data/Unit.h"
#include "platform/sdl/Texture.h"
#include "render/gl/Renderer.h"

#include <GL/glew.h>
#include <SDL_video.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

void DeleteList(uint32_t list) {
    // At process exit the context may already be gone; there is nothing left to free then.
    if (SDL_GL_GetCurrentContext() != nullptr) {
        glDeleteLists(list, 1);
    }
}

uint32_t CompileList(const ModelNode& node, bool full) {
    uint32_t list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    node.DrawMesh(full);
    glEndList();
    CountCompiledDisplayList();
    return list;
}

// Texture, vertex colour and normal calls for one corner; indices were checked by the caller.
void EmitCorner(const ModelNode& node, const ModelFace& face, int corner, bool full, bool textured) {
    const ModelVertex& vertex = node.vertices[face.vertices[corner]];
    if (full) {
        if (textured) {
            uint32_t t = face.texVertices[corner];
            if (t < node.texVertices.size()) {
                glTexCoord2f(node.texVertices[t].u, node.texVertices[t].v);
            } else {
                glTexCoord2f(0, 0);
            }
        }
        glColor4f(vertex.colour.r, vertex.colour.g, vertex.colour.b, vertex.colour.a);
    }
    glNormal3f(face.normal.x, face.normal.y, face.normal.z);
    glVertex3f(vertex.position.x, vertex.position.y, vertex.position.z);
}

} // namespace

void ModelNode::BuildDisplayLists() {
    SetDisplayListReleaser(DeleteList);
    // The white texture must exist before any list is compiled: creating it inside one would record it.
    WhiteTexture();
    ReleaseDisplayList(std::exchange(fullList, 0u));
    ReleaseDisplayList(std::exchange(plainList, 0u));
    PrepareForDrawing();
    fullList = CompileList(*this, true);
    plainList = CompileList(*this, false);
    for (auto& child : children) {
        child->BuildDisplayLists();
    }
}

void ModelNode::DrawMesh(bool full) const {
    const bool withTexture = full && textured;
    if (withTexture) {
        glEnable(GL_TEXTURE_2D);
        // Without a texture of its own the node takes the one bound by the caller (the tiles' way).
        if (texture != 0) {
            glBindTexture(GL_TEXTURE_2D, texture);
        }
    } else if (full) {
        UnbindTexture();
    }
    const size_t vertexCount = vertices.size();
    glBegin(GL_TRIANGLES);
    for (const ModelFace& face : faces) {
        if (face.vertices[0] >= vertexCount || face.vertices[1] >= vertexCount ||
            face.vertices[2] >= vertexCount) {
            continue;
        }
        for (int corner = 0; corner < 3; ++corner) {
            EmitCorner(*this, face, corner, full, withTexture);
        }
    }
    glEnd();
    if (withTexture) {
        UnbindTexture();
    }
}

uint32_t ModelNode::MakeTexturedList(uint32_t newTexture) {
    SetDisplayListReleaser(DeleteList);
    WhiteTexture();
    SetNodeTexture(newTexture, true);
    return CompileList(*this, true);
}

void ModelNode::BuildProceduralModel(int32_t type) {
    FillProceduralMesh(type);
    if (type != ProceduralNone) {
        BuildDisplayLists();
    }
}

std::unique_ptr<ModelNode> LoadAse(AseLoader& loader, const std::string& gamePath) {
    std::unique_ptr<ModelNode> root = loader.ParseAse(gamePath);
    if (root) {
        root->BuildDisplayLists();
    }
    return root;
}

void ApplyTransform(const Transform& transform) {
    glTranslatef(transform.position.x, transform.position.y, transform.position.z);
    glScalef(transform.scale, transform.scale, transform.scale);
    // Matrix4 is row-major for column vectors; its transpose is the column-major order GL reads.
    Matrix4 rotation = Transpose(ToMatrix(transform.rotation));
    glMultMatrixf(rotation.m);
}

void DrawComponent(Component& component, bool pickPass) {
    if (component.modelSlot < 1) {
        return;
    }
    glPushMatrix();
    ApplyTransform(component.transform);
    if (pickPass) {
        if (component.model != nullptr && component.model->plainList != 0) {
            glCallList(component.model->plainList);
        }
    } else if (component.displayList != 0) {
        glCallList(component.displayList);
    }
    for (auto& child : component.children) {
        DrawComponent(*child, pickPass);
    }
    glPopMatrix();
    // Only the visible pass advances the animation: extra pick passes must not speed it up.
    if (!pickPass && component.model != nullptr && component.model->animated) {
        StepAnimation(*component.model, component.animationKey, component.animationFrame,
                      component.transform);
    }
}

void StepComponentAnimations(Component& component) {
    if (component.modelSlot < 1) {
        return;
    }
    for (auto& child : component.children) {
        StepComponentAnimations(*child);
    }
    if (component.model != nullptr && component.model->animated) {
        StepAnimation(*component.model, component.animationKey, component.animationFrame,
                      component.transform);
    }
}

float ComponentReach(const Component& component) {
    if (component.modelSlot < 1) {
        return 0.0f;
    }
    if (component.displayList != 0 && component.model == nullptr) {
        // A list of unknown make may reach anywhere.
        return std::numeric_limits<float>::infinity();
    }
    // Both lists a module may draw are made of its model's own corners.
    float reach = 0.0f;
    if (component.model != nullptr) {
        for (const ModelVertex& vertex : component.model->vertices) {
            reach = std::max(reach, Length(vertex.position));
        }
    }
    for (const auto& child : component.children) {
        reach = std::max(reach, Length(child->transform.position) + ComponentReach(*child));
    }
    return std::abs(component.transform.scale) * reach;
}

void PrepareCoreModel(Component& core, int32_t skin, const Renderer& renderer) {
    ModelNode* model = renderer.model(core.modelSlot);
    if (model == nullptr) {
        return;
    }
    const uint32_t texture = renderer.textures[static_cast<size_t>(SkinTextureSlot(skin))];
    // The core owns its list: the one of its previous skin or model goes.
    ReleaseDisplayList(std::exchange(core.displayList, 0u));
    core.displayList = model->MakeTexturedList(texture);
    core.model = model;
}
