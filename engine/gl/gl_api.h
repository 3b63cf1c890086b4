// The OpenGL entry points the renderer is written against: desktop OpenGL 3.3
// core through libepoxy, or OpenGL ES 3.0 (WebGL 2 in the browser). The two
// differ for the renderer only where TIDE_GLES says so.
#pragma once

#ifdef __EMSCRIPTEN__
#define TIDE_GLES 1
#include <GLES3/gl3.h>
#else
#define TIDE_GLES 0
#include <epoxy/gl.h>
#endif
