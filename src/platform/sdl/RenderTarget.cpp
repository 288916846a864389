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
        glDeleteTextures(1, &colour_);
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
    GLint boundTexture = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    glGenFramebuffers(1, &frame_);
    glGenTextures(1, &colour_);
    glGenRenderbuffers(1, &depth_);
    // Colour stored blue, green, red, alpha, as a window's is: copies between the two can then be plain
    // copies of memory rather than conversions pixel by pixel.
    glBindTexture(GL_TEXTURE_2D, colour_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, frame_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour_, 0);
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
