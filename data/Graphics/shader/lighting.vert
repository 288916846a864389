#version 120
// The game's one lighting program, bound for the whole run. The vertex stage only hands the fixed-function
// inputs on; lighting.frag decides, by useLighting, how a fragment is coloured.

uniform int useLighting;          // 0 unlit, 1 lit, 2 flat picking colour
uniform int numOfLights;          // lights 0 .. numOfLights-1 are switched on
uniform mat3 lightsTypes;         // light type codes, see lighting.frag
uniform float globalAmbient;      // ambient light everywhere
uniform vec4 materialSpecular;    // specular colour of the surface, alpha unused
uniform float materialShininess;  // specular exponent

varying vec3 eyePosition;
varying vec3 eyeNormal;

void main() {
    gl_Position = ftransform();
    gl_FrontColor = gl_Color;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    eyePosition = vec3(gl_ModelViewMatrix * gl_Vertex);
    eyeNormal = gl_NormalMatrix * gl_Normal;
}
