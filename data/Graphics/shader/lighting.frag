#version 120
// Colours every fragment of the game according to useLighting:
//   0 unlit: vertex colour times the texture (a white quad shows its picture unchanged);
//   1 lit:   vertex colour times the texture, times the light lighting.vert found at the vertices;
//   2 flat:  exactly the vertex colour, no texture and no light, so picking reads back the id it drew.
//
// Telling textured from untextured drawing: the program always samples texture unit 0. Whenever no picture
// is bound there, the game binds a 1 x 1 white texture instead (UnbindTexture), so untextured geometry is
// multiplied by white and keeps its vertex colours.
//
// The light multiplies the surface's own colour (highlights included), so a mech's paint stays its colour
// under the battle light instead of bleaching to white.

uniform int useLighting;
uniform int numOfLights;
uniform mat3 lightsTypes;
uniform float globalAmbient;
uniform vec4 materialSpecular;
uniform float materialShininess;
uniform sampler2D picture;

varying vec3 vertexLight;

void main() {
    if (useLighting == 2) {
        gl_FragColor = gl_Color;
        return;
    }
    vec4 base = gl_Color * texture2D(picture, gl_TexCoord[0].st);
    if (useLighting != 1) {
        gl_FragColor = base;
        return;
    }
    gl_FragColor = vec4(min(base.rgb * vertexLight, vec3(1.0)), base.a);
}
