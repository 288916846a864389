#version 120
// The game's one lighting program, bound for the whole run. The vertex stage lights each vertex as the
// fixed-function pipeline does and hands the light on; lighting.frag decides, by useLighting, how a
// fragment is coloured.
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
// materialShininess. The sum is the light the surface's own colour is multiplied by in lighting.frag, so
// highlights brighten a mech's paint instead of bleaching it to white. globalAmbient lights everything a
// little. A scene without lights (screens that show a model but add no light) is lit from the viewer, so
// models keep their shape and stay readable.

uniform int useLighting;          // 0 unlit, 1 lit, 2 flat picking colour
uniform int numOfLights;          // lights 0 .. numOfLights-1 are switched on
uniform mat3 lightsTypes;         // light type codes, see above
uniform float globalAmbient;      // ambient light everywhere
uniform vec4 materialSpecular;    // specular colour of the surface, alpha unused
uniform float materialShininess;  // specular exponent

// The light falling on the vertex; used by lit drawing only.
varying vec3 vertexLight;

float LightType(int i) {
    if (i < 3) {
        return lightsTypes[0][i];
    } else if (i < 6) {
        return lightsTypes[1][i - 3];
    }
    return lightsTypes[2][i - 6];
}

vec3 LightAt(vec3 eyePosition, vec3 eyeNormal) {
    bool hasNormal = dot(eyeNormal, eyeNormal) > 1e-12;
    vec3 normal = hasNormal ? normalize(eyeNormal) : vec3(0.0);
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
    return ambient + diffuse + materialSpecular.rgb * specular;
}

void main() {
    gl_Position = ftransform();
    gl_FrontColor = gl_Color;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    if (useLighting == 1) {
        vertexLight = LightAt(vec3(gl_ModelViewMatrix * gl_Vertex), gl_NormalMatrix * gl_Normal);
    } else {
        vertexLight = vec3(1.0);
    }
}
