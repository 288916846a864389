#include "combat/gl/GroundLayer.h"

#include <GL/glew.h>

#include <cstring>

namespace {

struct View {
    GLint framebuffer = 0;
    GLint viewport[4] = {};
};

View BoundView() {
    View view;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &view.framebuffer);
    glGetIntegerv(GL_VIEWPORT, view.viewport);
    return view;
}

// The key as the layer files it: the caller's words, then the framebuffer and the view it was drawn in.
GroundLayer::Key FullKey(const GroundLayer::Key& key, const View& view) {
    GroundLayer::Key full = key;
    AppendToKey(full, &view, sizeof(view));
    return full;
}

void ClearErrors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

// Copies colour, depth and stencil between the two framebuffers, outside any scissor box, and binds back
// the framebuffers that were bound; mirrored top to bottom when asked. All three buffers together let the
// renderer copy the memory as it stands rather than draw it.
bool CopyView(GLint from, const GLint* fromBox, GLint to, const GLint* toBox, bool mirrored) {
    GLint boundRead = 0;
    GLint boundDraw = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &boundRead);
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &boundDraw);
    glPushAttrib(GL_SCISSOR_BIT);
    glDisable(GL_SCISSOR_TEST);
    ClearErrors();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(from));
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(to));
    const GLint toBottom = mirrored ? toBox[1] + toBox[3] : toBox[1];
    const GLint toTop = mirrored ? toBox[1] : toBox[1] + toBox[3];
    glBlitFramebuffer(fromBox[0], fromBox[1], fromBox[0] + fromBox[2], fromBox[1] + fromBox[3], toBox[0],
                      toBottom, toBox[0] + toBox[2], toTop,
                      GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT, GL_NEAREST);
    const bool copied = glGetError() == GL_NO_ERROR;
    glPopAttrib();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(boundRead));
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(boundDraw));
    return copied;
}

// The window's own buffers are kept upside down: a software renderer stores them top row first, so a
// mirrored copy between them and the layer is a plain copy of memory, where a straight one is drawn pixel
// by pixel. Copies between framebuffer objects stay straight for the same reason.
bool KeptMirrored(const View& view) {
    return view.framebuffer == 0;
}

} // namespace

void AppendToKey(GroundLayer::Key& key, const void* data, size_t bytes) {
    const auto* from = static_cast<const unsigned char*>(data);
    while (bytes > 0) {
        uint32_t word = 0;
        const size_t part = bytes < sizeof(word) ? bytes : sizeof(word);
        std::memcpy(&word, from, part);
        key.push_back(word);
        from += part;
        bytes -= part;
    }
}

bool GroundLayer::Prepare(int32_t width, int32_t height) {
    if (unavailable_) {
        return false;
    }
    // Depth and stencil are copied as they are, so the copy must have the frame's own layout of them.
    GLint depthBits = 0;
    GLint stencilBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
    if (glBlitFramebuffer == nullptr || depthBits != 24 || stencilBits != 8 || !target_.Make(width, height)) {
        unavailable_ = true;
        return false;
    }
    return true;
}

bool GroundLayer::Restore(const Key& key) {
    if (!held_ || unavailable_) {
        return false;
    }
    const View view = BoundView();
    if (FullKey(key, view) != kept_) {
        return false;
    }
    const GLint box[4] = {0, 0, view.viewport[2], view.viewport[3]};
    if (!CopyView(static_cast<GLint>(target_.framebuffer()), box, view.framebuffer, view.viewport,
                  KeptMirrored(view))) {
        unavailable_ = true;
        held_ = false;
        return false;
    }
    ++restores_;
    return true;
}

void GroundLayer::Offer(const Key& key, bool keepAtOnce) {
    if (unavailable_) {
        return;
    }
    const View view = BoundView();
    Key full = FullKey(key, view);
    if (full != offered_) {
        // The first frame of a new view: wait for a second one before paying for a copy.
        offered_ = std::move(full);
        held_ = false;
        if (!keepAtOnce) {
            return;
        }
    }
    if (view.viewport[2] <= 0 || view.viewport[3] <= 0 || !Prepare(view.viewport[2], view.viewport[3])) {
        return;
    }
    const GLint box[4] = {0, 0, view.viewport[2], view.viewport[3]};
    held_ = CopyView(view.framebuffer, view.viewport, static_cast<GLint>(target_.framebuffer()), box,
                     KeptMirrored(view));
    if (!held_) {
        unavailable_ = true;
        return;
    }
    kept_ = offered_;
}
