#include "render/gl/ParticleDrawing.h"

#include "platform/sdl/Texture.h"
#include "render/gl/Renderer.h"

#include <GL/glew.h>

void UpdateAndDrawParticles(ParticlePool& pool, Renderer& renderer) {
    renderer.SetLightingMode(Unlit);
    pool.Update();

    glPushMatrix();
    if (pool.ActiveCount() > 0) {
        glEnable(GL_TEXTURE_2D);
        const uint32_t atlas = renderer.textures[particleTextureSlot];
        glBindTexture(GL_TEXTURE_2D, atlas != 0 ? atlas : WhiteTexture());
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        const Vector3 forward = renderer.camera.forward;
        glBegin(GL_QUADS);
        pool.ForEachActive([&](const Particle& particle) {
            // A strip of half-width 1 across the view direction, so the beam faces the viewer.
            Vector3 side = Cross(particle.head - particle.start, forward);
            side.Normalise();
            const ParticleStyle& style = StyleOfParticle(particle.kind);
            glColor3f(style.r, style.g, style.b);
            const Vector3 corners[4] = {particle.start - side, particle.head - side, particle.head + side,
                                        particle.start + side};
            const float u[4] = {style.u0, style.u1, style.u1, style.u0};
            const float v[4] = {style.v1, style.v1, style.v0, style.v0};
            for (int i = 0; i < 4; ++i) {
                glTexCoord2f(u[i], v[i]);
                glVertex3f(corners[i].x, corners[i].y, corners[i].z);
            }
        });
        glEnd();
        glDisable(GL_BLEND);
        UnbindTexture();
    }
    glPopMatrix();
    renderer.SetLightingMode(Lit);
}
