#include "platform/sdl/RenderTarget.h"

#include <GL/glew.h>
#include <SDL_video.h>

RenderTarget::~RenderTarget() {
    if (SDL_GL_GetCurrentContext() != nullptr) {
        Release();
    }
}

void RenderTarget::Release() {
    if (frame_ != 0) {
        glDeleteFramebuffers(1, &frame_);
        glDeleteRenderbuffers(1, &colour_);
        glDeleteRenderbuffers(1, &depth_);
    }
    frame_ = colour_ = depth_ = 0;
    width_ = height_ = 0;
}

bool RenderTarget::Make(int32_t width, int32_t height) {
    if (frame_ != 0 && width == width_ && height == height_) {
        return true;
    }
    Release();
    if (glGenFramebuffers == nullptr || glBindFramebuffer == nullptr || glGenRenderbuffers == nullptr ||
        width <= 0 || height <= 0) {
        return false;
    }
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    glGenFramebuffers(1, &frame_);
    glGenRenderbuffers(1, &colour_);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, frame_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth_);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(bound));
    if (!complete) {
        Release();
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}
