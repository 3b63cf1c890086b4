#include "engine/gl/gl_shaders.h"

#include "engine/gl/gl_api.h"

#if TIDE_GLES
#define TIDE_GLSL_HEADER "#version 300 es\nprecision highp float;\nprecision highp int;\n"
#else
#define TIDE_GLSL_HEADER "#version 330 core\n"
#endif

const char* tideGlVertexShader() {
    return TIDE_GLSL_HEADER R"(
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec4 aCol;
layout(location = 2) in vec2 aUV;
uniform vec2 uScale;
out vec4 vCol;
out vec2 vUV;
void main() {
    // Pixel y grows downwards and lands in framebuffer row y, so row 0 of a
    // frame or target is its top row, as in a texture's pixels.
    gl_Position = vec4(aPos.x * uScale.x - 1.0, aPos.y * uScale.y - 1.0, aPos.z * 2.0 - 1.0, 1.0);
    vCol = aCol.bgra; // packed ARGB is B,G,R,A in memory
    vUV = aUV;
}
)";
}

const char* tideGlFragmentShader() {
    return TIDE_GLSL_HEADER R"(
in vec4 vCol;
in vec2 vUV;
uniform sampler2D uTex;
uniform int uColorAdd;
out vec4 fragColor;
void main() {
    vec4 t = texture(uTex, vUV);
    fragColor = uColorAdd != 0 ? vec4(t.rgb + vCol.rgb, t.a * vCol.a) : t * vCol;
}
)";
}
