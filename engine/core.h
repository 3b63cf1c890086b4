// tideCore: the engine's one implementation of the Tide interface. It holds
// everything that needs no device and hands drawing, presenting and the audio
// device to a tideBackend (backend.h).
#pragma once

#include <cstdio>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "engine/backend.h"
#include "engine/file_sys.h"
#include "engine/files.h"
#include "engine/image_jobs.h"
#include "engine/ini.h"
#include "engine/input.h"
#include "engine/random.h"
#include "engine/tide.h"
#include "engine/tide_headless.h"

class tideCore final : public Tide, public tideHeadless {
public:
    tideCore();
    ~tideCore() override;

    static tideCore* instance; // the shared instance while it has references
    int refs = 0;

    // --- Tide ---------------------------------------------------------------
    void Release() override;
    bool System_Initiate() override;
    void System_Shutdown() override;
    bool System_Start() override;
    const char* System_GetErrorMessage() override { return error.c_str(); }
    void System_Log(const char* format, ...) override __attribute__((format(printf, 2, 3)));

    void System_SetStateBool(tideBoolState state, bool value) override;
    void System_SetStateFunc(tideFuncState state, tideCallback value) override;
    void System_SetStateInt(tideIntState state, int value) override;
    void System_SetStateString(tideStringState state, const char* value) override;
    bool System_GetStateBool(tideBoolState state) override;
    tideCallback System_GetStateFunc(tideFuncState state) override;
    int System_GetStateInt(tideIntState state) override;
    const char* System_GetStateString(tideStringState state) override;

    void* Resource_Load(const char* filename, DWORD* size) override;
    void Resource_Free(void* res) override;
    const char* Resource_MakePath(const char* filename) override;

    bool Ini_Load(const char* filename, tideIniFile& out) override;
    void Ini_SetInt(const char* section, const char* name, int value) override;
    int Ini_GetInt(const char* section, const char* name, int def_val) override;
    void Ini_SetFloat(const char* section, const char* name, float value) override;
    float Ini_GetFloat(const char* section, const char* name, float def_val) override;
    void Ini_SetString(const char* section, const char* name, const char* value) override;
    const char* Ini_GetString(const char* section, const char* name,
                              const char* def_val) override;

    void Random_Seed(int seed) override;
    int Random_Int(int min, int max) override { return rng.Int(min, max); }
    float Random_Float(float min, float max) override { return rng.Float(min, max); }

    float Timer_GetTime() override { return float(time); }
    float Timer_GetDelta() override { return delta; }
    int Timer_GetFPS() override { return fps; }

    HEFFECT Effect_Load(const char* filename, DWORD size) override;
    void Effect_Free(HEFFECT eff) override;
    HCHANNEL Effect_Play(HEFFECT eff) override;
    HCHANNEL Effect_PlayEx(HEFFECT eff, int volume, int pan, float pitch, bool loop) override;
    HMUSIC Music_Load(const char* filename, DWORD size) override;
    void Music_Free(HMUSIC mus) override;
    HCHANNEL Music_Play(HMUSIC mus, bool loop, int volume, int order, int row) override;
    void Music_SetAmplification(HMUSIC music, int ampl) override;
    int Music_GetAmplification(HMUSIC music) override;
    HSTREAM Stream_Load(const char* filename, DWORD size) override;
    void Stream_Free(HSTREAM stream) override;
    HCHANNEL Stream_Play(HSTREAM stream, bool loop, int volume) override;
    void Channel_SetVolume(HCHANNEL chn, int volume) override;
    void Channel_Stop(HCHANNEL chn) override;
    void Channel_StopAll() override;
    bool Channel_IsPlaying(HCHANNEL chn) override;

    void Input_GetMousePos(float* x, float* y) override;
    void Input_SetMousePos(float x, float y) override { input.WarpMouse(x, y); }
    int Input_GetMouseWheel() override { return input.Wheel(); }
    bool Input_IsMouseOver() override { return input.MouseOver(); }
    bool Input_KeyDown(int key) override { return input.KeyDown(key); }
    bool Input_KeyUp(int key) override { return input.KeyUp(key); }
    bool Input_GetKeyState(int key) override { return input.KeyState(key); }
    const char* Input_GetKeyName(int key) override;
    int Input_GetKey() override { return input.Key(); }
    int Input_GetChar() override { return input.Char(); }
    tideDevice Input_GetDevice() override { return tideDevice(input.Device()); }

    bool Gfx_BeginScene(HTARGET target) override;
    void Gfx_EndScene() override;
    void Gfx_Clear(DWORD color) override;
    void Gfx_SetClipping(int x, int y, int w, int h) override;
    void Gfx_RenderQuadSlow(const tideQuad* quad) override;
    void Gfx_Record(std::vector<tideQuad>* into) override;
    bool Gfx_Snapshot(const char* path) override;

    HTARGET Target_Create(int width, int height, bool zbuffer) override;
    void Target_Free(HTARGET target) override;
    HTEXTURE Target_GetTexture(HTARGET target) override;

    HTEXTURE Texture_Create(int width, int height) override;
    HTEXTURE Texture_Load(const char* filename, DWORD size, bool bMipmap) override;
    void Texture_Free(HTEXTURE tex) override;
    int Texture_GetWidth(HTEXTURE tex, bool bOriginal) override;
    int Texture_GetHeight(HTEXTURE tex, bool bOriginal) override;
    DWORD* Texture_Lock(HTEXTURE tex, bool bReadOnly, int left, int top, int width,
                        int height) override;
    void Texture_Unlock(HTEXTURE tex) override;
    void Texture_Evict(HTEXTURE tex) override;
    void Texture_Prefetch(HTEXTURE tex) override;

    // --- tideHeadless ---------------------------------------------------------
    bool Frame(float dt) override;
    void SetMouse(float x, float y) override;
    void Key(int vk, bool down) override;
    void Wheel(int notches) override;
    void Char(int c) override;
    void SetMouseOver(bool over) override;
    void Touch(float x, float y, bool down) override { input.TouchEvent(x, y, down); }
    const std::vector<tideQuad>& Quads() const override { return quads; }
    const std::vector<DWORD>& Clears() const override { return clears; }
    const std::vector<std::string>& Log() const override { return logLines; }
    const std::vector<tideSoundEvent>& Sounds() const override { return sounds; }
    void ClearLog() override { logLines.clear(); }
    void ClearSounds() override { sounds.clear(); }
    int ChannelVolume(HCHANNEL chn) const override;
    void SetMemoryFile(const char* name, const std::string& data) override;
    void ClearMemoryFiles() override {
        memoryFiles.clear();
        iniCache = IniCache();
    }

    // --- for backends -----------------------------------------------------------
    tideInput& Input() { return input; }
    // The texture with its pixels: a picture still being decoded is waited for.
    tideTexture* GetTexture(HTEXTURE tex);
    // Whether a file picture has given back its copies (Texture_Evict).
    bool Evicted(HTEXTURE tex) const { return evicted.count(tex) != 0; }
    tideTarget* GetTarget(HTARGET target);
    void SetError(const std::string& msg) { error = msg; }
    bool Manual() const { return headless || manualClock; }
    bool Headless() const { return headless; }
    bool Initiated() const { return initiated; }
    const std::string& DataPath() const { return dataPath; }

    // Writes one line to the log (no formatting).
    void LogLine(const std::string& line);

private:
    struct Sound {
        tideSoundType type;
        void* obj = nullptr; // backend object
        std::string name;
        int amplification = 50;
    };
    struct Channel {
        tideSoundType type;
        int dev = -1; // backend channel
        DWORD sound = 0;
        int volume = 100; // as asked, before the global volume
    };

    // File bytes from a name, or the `size` bytes at `filename` when size is not 0.
    bool fileOrMemory(const char* filename, DWORD size, std::string& out);
    DWORD addSound(tideSoundType type, const char* filename, DWORD size);
    void freeSound(DWORD h, tideSoundType type);
    HCHANNEL play(DWORD h, tideSoundType type, bool loop, int volume, tideSoundEvent ev);
    int scaledVolume(tideSoundType type, int volume) const;
    void applyGlobalVolume(tideSoundType type);
    // Runs the frame callback, then the render callback when `draw`; true
    // when the frame callback asks to quit.
    bool runFrame(float dt, bool draw = true);
    // Milliseconds between real-time frames, 0: as fast as they come.
    double framePeriod(bool visible);
    bool openLog();
    void closeLog();
    // A file's bytes by its name, at most `cap` of them; no log line.
    bool loadFile(const char* filename, std::string& out, size_t cap = kTideDataCap,
                  tideFileStatus* status = nullptr);
    // The host path of a file name: data names under the data folder, any
    // case; an absolute path exactly as given. "" when there is none.
    std::string hostPath(const char* filename, bool forWrite);
    // A file that cannot be loaded is logged once, until it loads again: a
    // game that keeps asking for a broken file must not flood the log. Data
    // passed in memory (size not 0) is reported every time.
    bool firstLoadFailure(const char* filename, DWORD size = 0);
    void loaded(const char* filename, DWORD size = 0);
    // The current INI file (TIDE_INIFILE), parsed when first used after it was
    // named or changed on disk.
    const tideIniFile& currentIni();
    std::string DataRoot();
    void findUserDirs();

    std::unique_ptr<tideBackend> backend;
    tideInput input;
    tideRandom rng;

    bool initiated = false;
    bool headless = false, manualClock = false, portable = false;
    bool windowed = true, useSound = true, hideMouse = true, showSplash = false, zbuffer = true;
    bool textureFilter = true, dontSuspend = false;
    tideCallback frameFunc = nullptr, renderFunc = nullptr, exitFunc = nullptr;
    int screenWidth = 800, screenHeight = 600, screenBpp = 32, sampleRate = 44100;
    int fxVolume = 100, musVolume = 100, streamVolume = 100, fpsLimit = 0;
    std::string title = "Tide", iniFile, logFile, dataPath, error;
    std::string configDir, userDataDir, stateDir; // the user's folders
    bool logToStderr = false; // a log file was asked for but cannot be written

    FILE* logHandle = nullptr;
    size_t logBytes = 0;  // written into the log file this run
    std::vector<std::string> logLines;
    std::string pathBuf, iniBuf;
    std::set<std::string> missingIni; // INI names already reported missing
    std::set<std::string> failedLoads; // file names already reported unloadable
    std::set<std::string> failedIniWrites; // INI names already reported unwritable
    std::map<std::string, std::string> memoryFiles; // by normalised name
    struct IniCache {
        bool valid = false;
        std::string name;          // TIDE_INIFILE as it was
        std::string path;          // host path read, "" for a memory file
        tideSys::Info stat;        // the file as it was read
        tideIniFile file;
    } iniCache;

    double startTime = 0; // backend clock at System_Initiate, milliseconds

    double time = 0; // seconds since System_Initiate
    float delta = 0;
    int fps = 0, fpsFrames = 0;
    double fpsTime = 0;

    std::map<DWORD, tideTexture> textures;
    // Off the headless backend, pictures are decoded on worker threads; the
    // first frame opens the queue, so that until then the main thread alone
    // works toward it. A texture's pixels arrive when first needed.
    struct PendingImage {
        std::shared_ptr<tideImageJobs::Job> job;
        std::string filename; // empty for data passed in memory
    };
    std::unique_ptr<tideImageJobs> imageJobs;
    std::map<DWORD, PendingImage> pendingImages;
    // Pictures loaded from files keep no memory copy once on the device; a
    // Texture_Lock reads the file again. By handle, the file names.
    std::map<DWORD, std::string> reloadable;
    std::set<DWORD> evicted; // reloadable pictures to read again when needed
    void rereadPicture(HTEXTURE tex, tideTexture& t);
    HTEXTURE createTexture(int width, int height, bool pixels);
    tideTexture* findTexture(HTEXTURE tex); // without waiting for its pixels
    void finishImage(HTEXTURE tex, tideTexture& t);
    std::map<DWORD, tideTarget> targets;
    std::map<DWORD, Sound> soundsLoaded;
    std::map<DWORD, Channel> channels;
    DWORD nextHandle = 1;

    bool inScene = false;
    std::vector<tideQuad> quads;
    std::vector<tideQuad>* recording = nullptr;  // Gfx_Record's list
    std::vector<std::vector<tideQuad>*> outerRecordings;
    std::vector<DWORD> clears;
    std::vector<tideSoundEvent> sounds;
};
