// Tide: the engine core interface. Everything the game and the support layer
// draw, play, read and log goes through this one interface, obtained with
// tideCreate(TIDE_VERSION). Two backends sit behind it: the real one (SDL2
// window, OpenGL, SDL2_mixer) and the headless one used by tests (manual
// clock, scripted input, recorded quads and sounds), see tide_headless.h.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

typedef uint32_t DWORD;
typedef uint16_t WORD;
typedef uint8_t BYTE;

// Opaque engine handles; 0 always means "none".
typedef DWORD HTEXTURE;
typedef DWORD HTARGET;
typedef DWORD HEFFECT;
typedef DWORD HMUSIC;
typedef DWORD HSTREAM;
typedef DWORD HCHANNEL;

#define TIDE_VERSION 0x180

// Blend bits carried by every quad.
//
// The depth rule: the screen and every render target made with a depth
// buffer test every quad's z against the depth drawn so far, whatever its
// blend: a quad shows where its z is at most the stored depth (0 near, 1
// far). Only quads with BLEND_ZWRITE store their z. The depth is reset to far
// at each Gfx_BeginScene and each Gfx_Clear. So a quad drawn after a
// BLEND_ZWRITE quad at z 0.5 is hidden where they overlap when its own z is
// above 0.5, even without the bit; until some quad writes depth, nothing is
// hidden. A render target made without a depth buffer tests nothing.
#define BLEND_COLORADD 1   // vertex color added to the texel (clear: multiplied)
#define BLEND_COLORMUL 0
#define BLEND_ALPHABLEND 2 // alpha blending (clear: additive)
#define BLEND_ALPHAADD 0
#define BLEND_ZWRITE 4     // stores the quad's depth (every quad is tested, see above)
#define BLEND_NOZWRITE 0
#define BLEND_DEFAULT (BLEND_COLORMUL | BLEND_ALPHABLEND | BLEND_NOZWRITE)

// Packed ARGB helpers.
#define ARGB(a, r, g, b) \
    ((DWORD(a) << 24) + (DWORD(r) << 16) + (DWORD(g) << 8) + DWORD(b))
#define GETA(col) (((col) >> 24) & 0xFF)
#define GETR(col) (((col) >> 16) & 0xFF)
#define GETG(col) (((col) >> 8) & 0xFF)
#define GETB(col) ((col)&0xFF)

enum tideBoolState {
    TIDE_WINDOWED = 1,    // windowed (true) or fullscreen
    TIDE_ZBUFFER = 2,     // depth buffer present (always on here)
    TIDE_TEXTUREFILTER = 3,
    TIDE_USESOUND = 4,
    TIDE_DONTSUSPEND = 5,
    TIDE_HIDEMOUSE = 6,   // hide the system pointer
    TIDE_SHOWSPLASH = 7,
    TIDE_HEADLESS = 40,   // no window, no audio device, manual clock, recorded output
    TIDE_MANUALCLOCK = 41, // real renderer, but manual clock and scripted input
    TIDE_PORTABLE = 43     // the user's files stay with the data folder (set before start-up)
};

enum tideFuncState {
    TIDE_FRAMEFUNC = 8,
    TIDE_RENDERFUNC = 9,
    TIDE_EXITFUNC = 13
};

enum tideIntState {
    TIDE_SCREENWIDTH = 17,
    TIDE_SCREENHEIGHT = 18,
    TIDE_SCREENBPP = 19,
    TIDE_SAMPLERATE = 20,
    TIDE_FXVOLUME = 21,     // 0..100, scales every sound effect, live
    TIDE_MUSVOLUME = 22,    // 0..100, scales music modules
    TIDE_STREAMVOLUME = 23, // 0..100, scales streams
    TIDE_FPS = 24           // frame-rate cap; 0 or less: uncapped
};

enum tideStringState {
    TIDE_TITLE = 27,
    TIDE_INIFILE = 28,
    TIDE_LOGFILE = 29,
    TIDE_DATAPATH = 42,    // data folder; found at start-up when not set
    // Folders of the user's settings, saved progress and log: found at
    // start-up when not set (engine/paths.h), "" when there is none. The
    // engine creates them only when it first writes there.
    TIDE_CONFIGDIR = 44,
    TIDE_USERDATADIR = 45,
    TIDE_STATEDIR = 46
};

typedef bool (*tideCallback)();

class tideIniFile;

// Windows virtual-key codes, as the game uses them.
enum {
    TIDEK_LBUTTON = 0x01,
    TIDEK_RBUTTON = 0x02,
    TIDEK_MBUTTON = 0x04,
    TIDEK_BACKSPACE = 0x08,
    TIDEK_TAB = 0x09,
    TIDEK_ENTER = 0x0D,
    TIDEK_SHIFT = 0x10,
    TIDEK_CTRL = 0x11,
    TIDEK_ALT = 0x12,
    TIDEK_PAUSE = 0x13,
    TIDEK_CAPSLOCK = 0x14,
    TIDEK_ESCAPE = 0x1B,
    TIDEK_SPACE = 0x20,
    TIDEK_PGUP = 0x21,
    TIDEK_PGDN = 0x22,
    TIDEK_END = 0x23,
    TIDEK_HOME = 0x24,
    TIDEK_LEFT = 0x25,
    TIDEK_UP = 0x26,
    TIDEK_RIGHT = 0x27,
    TIDEK_DOWN = 0x28,
    TIDEK_INSERT = 0x2D,
    TIDEK_DELETE = 0x2E,
    TIDEK_0 = 0x30, // '1'..'9' follow
    TIDEK_A = 0x41, // 'B'..'Z' follow
    TIDEK_NUMPAD0 = 0x60,
    TIDEK_MULTIPLY = 0x6A,
    TIDEK_ADD = 0x6B,
    TIDEK_SUBTRACT = 0x6D,
    TIDEK_DECIMAL = 0x6E,
    TIDEK_DIVIDE = 0x6F,
    TIDEK_F1 = 0x70, // F2..F12 follow
    TIDEK_SEMICOLON = 0xBA,
    TIDEK_EQUALS = 0xBB,
    TIDEK_COMMA = 0xBC,
    TIDEK_MINUS = 0xBD,
    TIDEK_PERIOD = 0xBE,
    TIDEK_SLASH = 0xBF,
    TIDEK_GRAVE = 0xC0,
    TIDEK_LBRACKET = 0xDB,
    TIDEK_BACKSLASH = 0xDC,
    TIDEK_RBRACKET = 0xDD,
    TIDEK_APOSTROPHE = 0xDE,
    // Gamepad buttons, of whichever pad was used, named by the common layout
    // (A below, B right, X left, Y above). The left stick and the triggers
    // act as buttons: a stick pushed far enough holds its direction's key.
    // The directions, D-pad and stick, repeat while held, as arrow keys do.
    TIDEK_PAD_A = 0xC3,
    TIDEK_PAD_B = 0xC4,
    TIDEK_PAD_X = 0xC5,
    TIDEK_PAD_Y = 0xC6,
    TIDEK_PAD_RB = 0xC7, // right shoulder
    TIDEK_PAD_LB = 0xC8, // left shoulder
    TIDEK_PAD_LT = 0xC9, // left trigger
    TIDEK_PAD_RT = 0xCA, // right trigger
    TIDEK_PAD_UP = 0xCB, // D-pad
    TIDEK_PAD_DOWN = 0xCC,
    TIDEK_PAD_LEFT = 0xCD,
    TIDEK_PAD_RIGHT = 0xCE,
    TIDEK_PAD_START = 0xCF,
    TIDEK_PAD_BACK = 0xD0,
    TIDEK_PAD_LSTICK = 0xD1, // stick buttons (pressed in)
    TIDEK_PAD_RSTICK = 0xD2,
    TIDEK_PAD_STICK_UP = 0xD3, // left stick directions
    TIDEK_PAD_STICK_DOWN = 0xD4,
    TIDEK_PAD_STICK_RIGHT = 0xD5,
    TIDEK_PAD_STICK_LEFT = 0xD6
};

inline bool tideIsPadKey(int key) { return key >= TIDEK_PAD_A && key <= TIDEK_PAD_STICK_LEFT; }

// What a gamepad key means where a menu or a board reads the keyboard: the
// D-pad and the stick are the arrow keys, A is Enter and B is Escape; any
// other key is itself.
inline int tideNavKey(int key) {
    switch (key) {
        case TIDEK_PAD_UP: case TIDEK_PAD_STICK_UP: return TIDEK_UP;
        case TIDEK_PAD_DOWN: case TIDEK_PAD_STICK_DOWN: return TIDEK_DOWN;
        case TIDEK_PAD_LEFT: case TIDEK_PAD_STICK_LEFT: return TIDEK_LEFT;
        case TIDEK_PAD_RIGHT: case TIDEK_PAD_STICK_RIGHT: return TIDEK_RIGHT;
        case TIDEK_PAD_A: return TIDEK_ENTER;
        case TIDEK_PAD_B: return TIDEK_ESCAPE;
        default: return key;
    }
}

// The kind of device the player used last (Input_GetDevice): a key, a mouse
// button or movement, a gamepad button or stick, a finger on a touch screen.
enum tideDevice {
    TIDE_DEVICE_KEYBOARD = 0,
    TIDE_DEVICE_MOUSE = 1,
    TIDE_DEVICE_GAMEPAD = 2,
    TIDE_DEVICE_TOUCH = 3
};

struct tideVertex {
    float x, y; // screen position in pixels
    float z;    // 0 near .. 1 far
    DWORD col;  // packed ARGB
    float tx, ty; // texture coordinates 0..1
};

// Corners clockwise from top-left.
struct tideQuad {
    tideVertex v[4];
    HTEXTURE tex; // 0: untextured
    int blend;
};

// The run of quads the renderer is collecting: quads with this texture and
// blend go straight into its vertex buffer without a call into the engine.
// The engine keeps next == end whenever the run cannot be continued.
struct tideQuadRun {
    tideVertex* next = nullptr; // where the next quad's four vertices go
    tideVertex* end = nullptr;  // end of the room in the buffer
    HTEXTURE tex = 0;
    int blend = 0;
};

class Tide {
public:
    virtual void Release() = 0;

    virtual bool System_Initiate() = 0;
    virtual void System_Shutdown() = 0;
    virtual bool System_Start() = 0;
    virtual const char* System_GetErrorMessage() = 0;
    virtual void System_Log(const char* format, ...)
        __attribute__((format(printf, 2, 3))) = 0;

    virtual void System_SetStateBool(tideBoolState state, bool value) = 0;
    virtual void System_SetStateFunc(tideFuncState state, tideCallback value) = 0;
    virtual void System_SetStateInt(tideIntState state, int value) = 0;
    virtual void System_SetStateString(tideStringState state, const char* value) = 0;
    virtual bool System_GetStateBool(tideBoolState state) = 0;
    virtual tideCallback System_GetStateFunc(tideFuncState state) = 0;
    virtual int System_GetStateInt(tideIntState state) = 0;
    virtual const char* System_GetStateString(tideStringState state) = 0;

    void System_SetState(tideBoolState s, bool v) { System_SetStateBool(s, v); }
    void System_SetState(tideFuncState s, tideCallback v) { System_SetStateFunc(s, v); }
    void System_SetState(tideIntState s, int v) { System_SetStateInt(s, v); }
    void System_SetState(tideStringState s, const char* v) { System_SetStateString(s, v); }
    bool System_GetState(tideBoolState s) { return System_GetStateBool(s); }
    tideCallback System_GetState(tideFuncState s) { return System_GetStateFunc(s); }
    int System_GetState(tideIntState s) { return System_GetStateInt(s); }
    const char* System_GetState(tideStringState s) { return System_GetStateString(s); }

    // Whole-file loading. Names are Windows-style relative names ("Res\\a.txt"):
    // back slashes are accepted and every component is matched
    // case-insensitively under the data folder. The data is NUL-padded by one
    // byte past *size; free it with Resource_Free.
    virtual void* Resource_Load(const char* filename, DWORD* size = 0) = 0;
    virtual void Resource_Free(void* res) = 0;
    // The host path a name resolves to (for reading, or for a file to create).
    // Returns a pointer to an internal buffer valid until the next call.
    virtual const char* Resource_MakePath(const char* filename) = 0;

    // An INI file read and parsed once, to read through the handle it fills
    // (engine/ini.h). A relative name is a data file found as Resource_Load
    // finds it; an absolute path is the user's file, taken exactly as given.
    // False when the file is missing or cannot be read (not a regular file,
    // too large), which leaves `out` empty and is logged once, until the file
    // loads again.
    virtual bool Ini_Load(const char* filename, tideIniFile& out) = 0;

    // INI access on the file named by TIDE_INIFILE (Windows profile semantics).
    // The file is read when first used after it is named or changes on disk;
    // a value that is not a number reads as the default.
    virtual void Ini_SetInt(const char* section, const char* name, int value) = 0;
    virtual int Ini_GetInt(const char* section, const char* name, int def_val) = 0;
    virtual void Ini_SetFloat(const char* section, const char* name, float value) = 0;
    virtual float Ini_GetFloat(const char* section, const char* name, float def_val) = 0;
    virtual void Ini_SetString(const char* section, const char* name, const char* value) = 0;
    // Returns a pointer to an internal buffer valid until the next call.
    virtual const char* Ini_GetString(const char* section, const char* name,
                                      const char* def_val) = 0;

    virtual void Random_Seed(int seed = 0) = 0;          // 0: from the engine clock
    virtual int Random_Int(int min, int max) = 0;        // both ends included
    virtual float Random_Float(float min, float max) = 0;

    virtual float Timer_GetTime() = 0;  // seconds since System_Initiate
    virtual float Timer_GetDelta() = 0; // seconds of the last frame
    virtual int Timer_GetFPS() = 0;

    virtual HEFFECT Effect_Load(const char* filename, DWORD size = 0) = 0;
    virtual void Effect_Free(HEFFECT eff) = 0;
    virtual HCHANNEL Effect_Play(HEFFECT eff) = 0;
    virtual HCHANNEL Effect_PlayEx(HEFFECT eff, int volume = 100, int pan = 0,
                                   float pitch = 1.0f, bool loop = false) = 0;

    virtual HMUSIC Music_Load(const char* filename, DWORD size = 0) = 0;
    virtual void Music_Free(HMUSIC mus) = 0;
    virtual HCHANNEL Music_Play(HMUSIC mus, bool loop, int volume = 100, int order = -1,
                                int row = -1) = 0;
    virtual void Music_SetAmplification(HMUSIC music, int ampl) = 0;
    virtual int Music_GetAmplification(HMUSIC music) = 0;

    virtual HSTREAM Stream_Load(const char* filename, DWORD size = 0) = 0;
    virtual void Stream_Free(HSTREAM stream) = 0;
    virtual HCHANNEL Stream_Play(HSTREAM stream, bool loop, int volume = 100) = 0;

    virtual void Channel_SetVolume(HCHANNEL chn, int volume) = 0; // 0..100
    virtual void Channel_Stop(HCHANNEL chn) = 0;
    virtual void Channel_StopAll() = 0;
    virtual bool Channel_IsPlaying(HCHANNEL chn) = 0;

    virtual void Input_GetMousePos(float* x, float* y) = 0; // 1024x768 frame pixels
    virtual void Input_SetMousePos(float x, float y) = 0;
    virtual int Input_GetMouseWheel() = 0;
    virtual bool Input_IsMouseOver() = 0;
    virtual bool Input_KeyDown(int key) = 0;  // went down this frame
    virtual bool Input_KeyUp(int key) = 0;    // went up this frame
    virtual bool Input_GetKeyState(int key) = 0; // held
    virtual const char* Input_GetKeyName(int key) = 0;
    virtual int Input_GetKey() = 0;  // key pressed this frame, 0 if none
    virtual int Input_GetChar() = 0; // character typed this frame, 0 if none
    // Letter keys are named by the letter they type in the player's keyboard
    // layout ('Z' is the key that types z), so Ctrl+Z is Input_KeyDown('Z')
    // with Ctrl held on any layout.
    virtual tideDevice Input_GetDevice() = 0;

    virtual bool Gfx_BeginScene(HTARGET target = 0) = 0;
    virtual void Gfx_EndScene() = 0;
    virtual void Gfx_Clear(DWORD color) = 0;
    // Quads and clears reach only the pixels of this rectangle (top-left
    // origin, in the scene's own pixels) until the scene ends or another
    // call; a width or height of 0 lifts the clipping.
    virtual void Gfx_SetClipping(int x = 0, int y = 0, int w = 0, int h = 0) = 0;
    // Drawn in submission order. Inline because it runs for every sprite,
    // glyph and particle: a quad continuing the current run is only copied.
    void Gfx_RenderQuad(const tideQuad* quad) {
        if (quad && quadRun.next != quadRun.end && quad->tex == quadRun.tex &&
            quad->blend == quadRun.blend) {
            std::memcpy(quadRun.next, quad->v, sizeof(quad->v));
            quadRun.next += 4;
            return;
        }
        Gfx_RenderQuadSlow(quad);
    }
    // Quads submitted after this are appended to `into` instead of drawn,
    // until Gfx_Record(nullptr). A layer composed into a render target only
    // when what it shows changes records its quads each frame and compares.
    // Recordings nest: Gfx_Record(nullptr) ends the innermost one, and the
    // quads submitted after it go to the one around it again.
    virtual void Gfx_Record(std::vector<tideQuad>* into) = 0;
    // Reads the last finished frame back into a PNG file (real renderer only).
    virtual bool Gfx_Snapshot(const char* path) = 0;

    virtual HTARGET Target_Create(int width, int height, bool zbuffer) = 0;
    virtual void Target_Free(HTARGET target) = 0;
    virtual HTEXTURE Target_GetTexture(HTARGET target) = 0;

    virtual HTEXTURE Texture_Create(int width, int height) = 0;
    virtual HTEXTURE Texture_Load(const char* filename, DWORD size = 0, bool bMipmap = false) = 0;
    virtual void Texture_Free(HTEXTURE tex) = 0;
    virtual int Texture_GetWidth(HTEXTURE tex, bool bOriginal = false) = 0;
    virtual int Texture_GetHeight(HTEXTURE tex, bool bOriginal = false) = 0;
    // 32-bit ARGB pixels from (left, top), rows of the stored width apart;
    // width or height 0 locks the whole texture.
    virtual DWORD* Texture_Lock(HTEXTURE tex, bool bReadOnly = true, int left = 0, int top = 0,
                                int width = 0, int height = 0) = 0;
    virtual void Texture_Unlock(HTEXTURE tex) = 0;
    // A picture loaded from a file gives back its memory and device copies; it
    // stays valid and is read from its file again when next drawn or locked.
    // Textures the program made or locked have no other copy and are kept.
    virtual void Texture_Evict(HTEXTURE tex) = 0;
    // An evicted picture starts being read again where pictures are decoded
    // on worker threads, so that it is ready when next drawn; elsewhere it
    // is read when needed.
    virtual void Texture_Prefetch(HTEXTURE tex) = 0;

protected:
    virtual ~Tide() {}
    // Every quad that does not continue the current run.
    virtual void Gfx_RenderQuadSlow(const tideQuad* quad) = 0;
    tideQuadRun quadRun;
};

// Returns the shared engine instance and adds a reference to it.
Tide* tideCreate(int ver);
