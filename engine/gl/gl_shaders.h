// The quad shaders, one source for both OpenGL flavours: only the version
// line and the precision statement differ.
#pragma once

// The full source of a shader stage for the OpenGL in use.
const char* tideGlVertexShader();
const char* tideGlFragmentShader();
