#version 120
// Colours every fragment of the game according to useLighting:
//   0 unlit: vertex colour times the texture (a white quad shows its picture unchanged);
//   1 lit:   vertex colour times the texture, lit by the first numOfLights fixed-function lights;
//   2 flat:  exactly the vertex colour, no texture and no light, so picking reads back the id it drew.
//
// Telling textured from untextured drawing: the program always samples texture unit 0. Whenever no picture
// is bound there, the game binds a 1 x 1 white texture instead (UnbindTexture), so untextured geometry is
// multiplied by white and keeps its vertex colours.
//
// Light type codes, read from lightsTypes (uploaded column by column: light i is element i of the nine
// floats, light 0 to 2 in the first column, 3 to 5 in the second, 6 and 7 in the third):
//   1 point light: shines from its position in every direction;
//   2 spot light:  shines from its position along its spot direction, within the spot cut-off angle,
//                  fading towards the edge with the spot exponent;
//   3 sun:         parallel light along its spot direction everywhere, its position ignored
//                  (the battle's light from above is one).
// Each light adds its ambient colour, its diffuse colour by the angle to the surface (attenuated by
// distance for types 1 and 2) and its specular colour times materialSpecular, sharpened by
// materialShininess; highlights brighten the surface's own colour, so a mech's paint stays its colour under
// the battle light instead of bleaching to white. globalAmbient lights everything a little. A scene without lights (screens that show
// a model but add no light) is lit from the viewer, so models keep their shape and stay readable.

uniform int useLighting;
uniform int numOfLights;
uniform mat3 lightsTypes;
uniform float globalAmbient;
uniform vec4 materialSpecular;
uniform float materialShininess;
uniform sampler2D picture;

varying vec3 eyePosition;
varying vec3 eyeNormal;

float LightType(int i) {
    if (i < 3) {
        return lightsTypes[0][i];
    } else if (i < 6) {
        return lightsTypes[1][i - 3];
    }
    return lightsTypes[2][i - 6];
}

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

    vec3 normal = eyeNormal;
    bool hasNormal = dot(normal, normal) > 1e-12;
    normal = hasNormal ? normalize(normal) : vec3(0.0);
    vec3 toViewer = normalize(-eyePosition);

    vec3 ambient = vec3(globalAmbient);
    vec3 diffuse = vec3(0.0);
    vec3 specular = vec3(0.0);
    for (int i = 0; i < 8; ++i) {
        if (i >= numOfLights) {
            break;
        }
        int type = int(LightType(i) + 0.5);
        if (type < 1 || type > 3) {
            continue;
        }
        vec3 toLight;
        float strength = 1.0;
        if (type == 3) {
            toLight = normalize(-gl_LightSource[i].spotDirection);
        } else {
            vec3 offset = gl_LightSource[i].position.xyz - eyePosition;
            float distance = length(offset);
            toLight = distance > 0.0 ? offset / distance : vec3(0.0, 1.0, 0.0);
            strength = 1.0 / max(gl_LightSource[i].constantAttenuation +
                                     gl_LightSource[i].linearAttenuation * distance +
                                     gl_LightSource[i].quadraticAttenuation * distance * distance,
                                 1e-6);
            if (type == 2) {
                float along = dot(-toLight, normalize(gl_LightSource[i].spotDirection));
                strength *= along < gl_LightSource[i].spotCosCutoff
                                ? 0.0
                                : pow(max(along, 0.0), gl_LightSource[i].spotExponent);
            }
        }
        ambient += gl_LightSource[i].ambient.rgb;
        float facing = hasNormal ? max(dot(normal, toLight), 0.0) : 0.0;
        diffuse += gl_LightSource[i].diffuse.rgb * facing * strength;
        if (facing > 0.0) {
            float highlight = max(dot(normal, normalize(toLight + toViewer)), 0.0);
            if (highlight > 0.0) {
                specular += gl_LightSource[i].specular.rgb * pow(highlight, max(materialShininess, 0.0)) * strength;
            }
        }
    }
    if (numOfLights <= 0 && hasNormal) {
        diffuse += vec3(0.7) * max(dot(normal, toViewer), 0.0);
    }
    vec3 lit = base.rgb * (ambient + diffuse + materialSpecular.rgb * specular);
    gl_FragColor = vec4(min(lit, vec3(1.0)), base.a);
}
