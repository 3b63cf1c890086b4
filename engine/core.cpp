#include "engine/core.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <thread>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "engine/crash_handler.h"
#include "engine/file_sys.h"
#include "engine/frame_pacer.h"
#include "engine/ini.h"
#include "engine/paths.h"
#ifdef __EMSCRIPTEN__
#include "engine/web/web_backend.h"
#endif

#ifndef THALOMIR_INSTALL_DATADIR
#define THALOMIR_INSTALL_DATADIR ""
#endif

tideCore* tideCore::instance = nullptr;
tideBackend* (*tideBackendHook)() = nullptr;

namespace {
// Longest frame time the real-time loop passes on: a stall (window dragged,
// machine suspended) must not make the game jump.
const double kMaxFrameTime = 0.1;
// Recorded log lines kept for tests; older ones are dropped past this.
const size_t kMaxLogLines = 200000;
// The most one run writes into its log file: a game left logging for days
// must not fill the disk.
const size_t kMaxLogBytes = size_t(16) << 20;

// "log.txt" -> "log.old.txt": where the previous run's log is kept.
std::string oldLogName(const std::string& path) {
    size_t slash = path.rfind('/');
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1)
        return path + ".old";
    return path.substr(0, dot) + ".old" + path.substr(dot);
}
}  // namespace

Tide* tideCreate(int ver) {
    if (ver != TIDE_VERSION) return nullptr;
    if (!tideCore::instance) tideCore::instance = new tideCore();
    tideCore::instance->refs++;
    return tideCore::instance;
}

tideHeadless* tideGetHeadless() {
    tideCore* c = tideCore::instance;
    return c && c->Initiated() && c->Manual() ? c : nullptr;
}

tideCore::tideCore() {}

tideCore::~tideCore() {
    if (initiated) System_Shutdown();
    closeLog();
}

void tideCore::closeLog() {
    if (!logHandle) return;
    // The crash handler's copy too: on Windows an open handle keeps the file
    // and its folder from being removed.
    tideCrashLogTo(-1);
    fclose(logHandle);
    logHandle = nullptr;
}

void tideCore::Release() {
    if (--refs > 0) return;
    if (instance == this) instance = nullptr;
    delete this;
}

// ---------------------------------------------------------------------------
// System

bool tideCore::System_Initiate() {
    if (initiated) return true;
    error.clear();
    time = 0;
    delta = 0;
    fps = fpsFrames = 0;
    fpsTime = 0;
    input = tideInput();
    quads.clear();
    clears.clear();
    sounds.clear();
    logLines.clear();
    missingIni.clear();
    failedLoads.clear();
    failedIniWrites.clear();
    if (dataPath.empty()) dataPath = tideFindDataPath(THALOMIR_INSTALL_DATADIR);
    findUserDirs();
    openLog();

    if (headless)
        backend.reset(tideCreateHeadlessBackend());
    else if (tideBackendHook)
        backend.reset(tideBackendHook());
    else
        backend.reset(tideCreateDeviceBackend());
    quadRun = tideQuadRun();
    if (backend) backend->run = &quadRun;
    if (!backend) {
        error = "no video backend is built in";
    } else if (!backend->Init(this)) {
        if (error.empty()) error = "the device could not be opened";
        backend.reset();
    }
    if (!backend) {
        System_Log("Can't initiate the engine: %s", error.c_str());
        return false;
    }
    rng.Seed(0);
    // Headless runs decode in place, so tests see every load's outcome at once;
    // so does the browser, which gives the page no threads.
#ifndef __EMSCRIPTEN__
    if (!headless) {
#ifdef __GLIBC__
        // Picture buffers of megabytes come and go while the game loads. With
        // glibc's sliding threshold they would be carved from the heap after
        // the first one is freed, and stay resident there once freed again.
        mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
        unsigned cores = std::thread::hardware_concurrency();
        imageJobs = std::make_unique<tideImageJobs>(cores > 2 ? int(cores) - 1 : 1);
    }
#endif
    startTime = backend->Now();
    initiated = true;
    return true;
}

void tideCore::System_Shutdown() {
    if (!initiated) return;
    Channel_StopAll();
    for (auto& [h, s] : soundsLoaded) backend->SoundFree(s.type, s.obj);
    soundsLoaded.clear();
    imageJobs.reset();
    pendingImages.clear();
    reloadable.clear();
    evicted.clear();
    for (auto& [h, t] : targets) backend->TargetFreed(t);
    targets.clear();
    for (auto& [h, t] : textures) backend->TextureFreed(t);
    textures.clear();
    backend->Shutdown();
    backend.reset();
    quadRun = tideQuadRun();
    initiated = false;
    inScene = false;
    closeLog();
}

bool tideCore::System_Start() {
    if (!initiated) {
        error = "System_Start: the engine is not initiated";
        return false;
    }
    if (!frameFunc) {
        System_Log("System_Start: no frame function is set");
        return false;
    }
    if (Manual()) {
        // Nobody drives the clock: run at the nominal rate until the game quits.
        float dt = 1.0f / float(fpsLimit > 0 ? fpsLimit : 60);
        while (!Frame(dt)) {
        }
        return true;
    }
#ifdef __EMSCRIPTEN__
    // A page must not block: the browser runs the frames from here on.
    tideWebRunLoop(this);
    return true;
#endif
    double last = backend->Now(); // start of the previous frame
    tideFramePacer pacer;
    for (;;) {
        if (!backend->PumpEvents()) break;
        const double now = backend->Now();
        const bool visible = backend->Visible();
        const double wait = pacer.Wait(now, framePeriod(visible));
        if (wait > 0) {
            backend->Sleep(wait / 1000.0);
            continue;
        }
        double dt = (now - last) / 1000.0;
        last = now;
        if (dt > kMaxFrameTime) dt = kMaxFrameTime;
        if (runFrame(float(dt), visible)) break;
    }
    return true;
}

double tideCore::framePeriod(bool visible) {
    const double vsync = visible ? backend->VsyncRate() : 0;
    // The swap waits for the display and sets the rate; the loop only holds
    // back a swap that does not really wait, a little above the display's rate
    // so that it never adds a wait of its own to the swap's.
    if (vsync > 0) return 1000.0 / (vsync * 1.05);
    if (fpsLimit > 0) return 1000.0 / fpsLimit;
    // Frames nobody sees need not come faster than a display would show them.
    return visible ? 0 : 1000.0 / 60;
}

bool tideCore::runFrame(float dt, bool draw) {
    delta = dt;
    time += dt;
    fpsFrames++;
    fpsTime += dt;
    if (fpsTime >= 1.0) {
        fps = fpsFrames;
        fpsFrames = 0;
        fpsTime = 0;
    }
    input.BeginFrame(dt);
    bool quit = frameFunc ? frameFunc() : true;
    if (!quit && draw && renderFunc) renderFunc();
    input.EndFrame();
    return quit;
}

void tideCore::System_Log(const char* format, ...) {
    if (!format) return;
    char small[1024];
    va_list ap;
    va_start(ap, format);
    int n = vsnprintf(small, sizeof(small), format, ap);
    va_end(ap);
    if (n < 0) return;
    std::string line;
    if (size_t(n) < sizeof(small)) {
        line.assign(small, size_t(n));
    } else {
        line.resize(size_t(n) + 1);
        va_start(ap, format);
        vsnprintf(line.data(), line.size(), format, ap);
        va_end(ap);
        line.resize(size_t(n));
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    LogLine(line);
}

void tideCore::LogLine(const std::string& line) {
    if (logHandle && logBytes <= kMaxLogBytes) {
        logBytes += line.size() + 1;
        if (logBytes > kMaxLogBytes)
            fprintf(logHandle, "The log is full (%zu MiB); later lines are left out\n", kMaxLogBytes >> 20);
        else
            fprintf(logHandle, "%s\n", line.c_str());
        fflush(logHandle);
    } else if (!logHandle && logToStderr) {
        fprintf(stderr, "%s\n", line.c_str());
    }
    if (logLines.size() >= kMaxLogLines)
        logLines.erase(logLines.begin(), logLines.begin() + kMaxLogLines / 2);
    logLines.push_back(line);
}

void tideCore::findUserDirs() {
    if (configDir.empty()) configDir = tideUserDir(tideUserKind::Config, portable, dataPath);
    if (userDataDir.empty()) userDataDir = tideUserDir(tideUserKind::Data, portable, dataPath);
    if (stateDir.empty()) stateDir = tideUserDir(tideUserKind::State, portable, dataPath);
}

bool tideCore::openLog() {
    closeLog();
    logToStderr = false;
    if (logFile.empty()) return false;
    std::string name = logFile;
    for (char& c : name)
        if (c == '\\') c = '/';
    // A relative name lives in the state folder whatever the working
    // directory: a game must not litter the folder it was started from.
    std::string path = tideIsAbsolute(name) ? name : (stateDir.empty() ? "" : stateDir + "/" + name);
    size_t slash = path.rfind('/');
    int err = ENOENT;
    if (!path.empty() && (slash == 0 || tideMakeUserDir(path.substr(0, slash)))) {
        // The previous run's log is kept, so that the report of a crash
        // survives the start that follows it. A link or a FIFO there is
        // moved aside as it is, never followed.
        tideSys::Replace(path, oldLogName(path));
        err = tideSys::OpenLog(path, logHandle);
    }
    logBytes = 0;
    if (!logHandle) {
        // Nowhere to write: the game still plays, and says so where it can.
        logToStderr = true;
        std::string why = stateDir.empty() && path.empty() ? " (no HOME)"
                          : err == tideSys::kNotRegular  ? " (not a regular file)"
                          : err == ELOOP                 ? " (a link)"
                                                         : std::string(" (") + strerror(err) + ")";
        LogLine("Can't write the log file " + (path.empty() ? logFile : path) + why +
                "; logging to the standard error");
    }
    tideCrashLogTo(logHandle ? fileno(logHandle) : -1);
    return logHandle != nullptr;
}

void tideCore::System_SetStateBool(tideBoolState state, bool value) {
    switch (state) {
        case TIDE_WINDOWED: windowed = value; break;
        case TIDE_ZBUFFER: zbuffer = value; break;
        case TIDE_TEXTUREFILTER: textureFilter = value; break;
        case TIDE_USESOUND: useSound = value; break;
        case TIDE_DONTSUSPEND: dontSuspend = value; break;
        case TIDE_HIDEMOUSE: hideMouse = value; break;
        case TIDE_SHOWSPLASH: showSplash = value; break;
        case TIDE_HEADLESS:
            if (!initiated) headless = value;
            break;
        case TIDE_MANUALCLOCK:
            if (!initiated) manualClock = value;
            break;
        case TIDE_PORTABLE:
            if (!initiated) portable = value;
            break;
    }
}

void tideCore::System_SetStateFunc(tideFuncState state, tideCallback value) {
    switch (state) {
        case TIDE_FRAMEFUNC: frameFunc = value; break;
        case TIDE_RENDERFUNC: renderFunc = value; break;
        case TIDE_EXITFUNC: exitFunc = value; break;
    }
}

void tideCore::System_SetStateInt(tideIntState state, int value) {
    auto clamp100 = [](int v) { return v < 0 ? 0 : (v > 100 ? 100 : v); };
    switch (state) {
        case TIDE_SCREENWIDTH:
            if (!initiated && value > 0) screenWidth = value;
            break;
        case TIDE_SCREENHEIGHT:
            if (!initiated && value > 0) screenHeight = value;
            break;
        case TIDE_SCREENBPP: screenBpp = value; break;
        case TIDE_SAMPLERATE: sampleRate = value; break;
        case TIDE_FXVOLUME:
            fxVolume = clamp100(value);
            applyGlobalVolume(TIDE_SOUND_EFFECT);
            break;
        case TIDE_MUSVOLUME:
            musVolume = clamp100(value);
            applyGlobalVolume(TIDE_SOUND_MUSIC);
            break;
        case TIDE_STREAMVOLUME:
            streamVolume = clamp100(value);
            applyGlobalVolume(TIDE_SOUND_STREAM);
            break;
        case TIDE_FPS: fpsLimit = value; break;
    }
}

void tideCore::System_SetStateString(tideStringState state, const char* value) {
    std::string v = value ? value : "";
    switch (state) {
        case TIDE_TITLE: title = v; break;
        case TIDE_INIFILE: iniFile = v; break;
        case TIDE_LOGFILE:
            logFile = v;
            if (initiated) openLog();
            break;
        case TIDE_DATAPATH:
            if (!initiated) dataPath = v;
            break;
        case TIDE_CONFIGDIR:
            if (!initiated) configDir = v;
            break;
        case TIDE_USERDATADIR:
            if (!initiated) userDataDir = v;
            break;
        case TIDE_STATEDIR:
            if (!initiated) stateDir = v;
            break;
    }
}

bool tideCore::System_GetStateBool(tideBoolState state) {
    switch (state) {
        case TIDE_WINDOWED: return windowed;
        case TIDE_ZBUFFER: return zbuffer;
        case TIDE_TEXTUREFILTER: return textureFilter;
        case TIDE_USESOUND: return useSound;
        case TIDE_DONTSUSPEND: return dontSuspend;
        case TIDE_HIDEMOUSE: return hideMouse;
        case TIDE_SHOWSPLASH: return showSplash;
        case TIDE_HEADLESS: return headless;
        case TIDE_MANUALCLOCK: return manualClock;
        case TIDE_PORTABLE: return portable;
    }
    return false;
}

tideCallback tideCore::System_GetStateFunc(tideFuncState state) {
    switch (state) {
        case TIDE_FRAMEFUNC: return frameFunc;
        case TIDE_RENDERFUNC: return renderFunc;
        case TIDE_EXITFUNC: return exitFunc;
    }
    return nullptr;
}

int tideCore::System_GetStateInt(tideIntState state) {
    switch (state) {
        case TIDE_SCREENWIDTH: return screenWidth;
        case TIDE_SCREENHEIGHT: return screenHeight;
        case TIDE_SCREENBPP: return screenBpp;
        case TIDE_SAMPLERATE: return sampleRate;
        case TIDE_FXVOLUME: return fxVolume;
        case TIDE_MUSVOLUME: return musVolume;
        case TIDE_STREAMVOLUME: return streamVolume;
        case TIDE_FPS: return fpsLimit;
    }
    return 0;
}

const char* tideCore::System_GetStateString(tideStringState state) {
    switch (state) {
        case TIDE_TITLE: return title.c_str();
        case TIDE_INIFILE: return iniFile.empty() ? nullptr : iniFile.c_str();
        case TIDE_LOGFILE: return logFile.empty() ? nullptr : logFile.c_str();
        case TIDE_DATAPATH: return dataPath.c_str();
        case TIDE_CONFIGDIR: return configDir.c_str();
        case TIDE_USERDATADIR: return userDataDir.c_str();
        case TIDE_STATEDIR: return stateDir.c_str();
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Files and INI

namespace {
// "Res\\A.txt", "res/a.txt" and "./RES//a.TXT" name the same memory file.
std::string memoryName(const char* name) {
    std::string out;
    std::string n(name);
    size_t i = 0;
    while (i <= n.size()) {
        size_t j = n.find_first_of("/\\", i);
        if (j == std::string::npos) j = n.size();
        std::string part = n.substr(i, j - i);
        if (!part.empty() && part != ".") {
            if (!out.empty()) out += '/';
            for (char c : part) out += char(tolower((unsigned char)c));
        }
        i = j + 1;
    }
    return out;
}
}  // namespace

void tideCore::SetMemoryFile(const char* name, const std::string& data) {
    if (name) memoryFiles[memoryName(name)] = data;
    iniCache = IniCache();
}

std::string tideCore::hostPath(const char* filename, bool forWrite) {
    if (tideIsAbsolute(filename)) return filename;
    return tideResolvePath(DataRoot(), filename, forWrite);
}

bool tideCore::loadFile(const char* filename, std::string& out, size_t cap, tideFileStatus* status) {
    tideFileStatus none;
    tideFileStatus& st = status ? *status : none;
    st = {ENOENT, std::string(filename ? filename : "(null)") + ": no such file"};
    if (!filename || !*filename) return false;
    if (!memoryFiles.empty()) {
        auto it = memoryFiles.find(memoryName(filename));
        if (it != memoryFiles.end()) {
            out = it->second;
            st = {};
            return true;
        }
    }
    std::string path = hostPath(filename, false);
    if (path.empty()) return false;
    st = tideReadFile(path, out, cap);
    return bool(st);
}

std::string tideCore::DataRoot() {
    if (dataPath.empty()) dataPath = tideFindDataPath(THALOMIR_INSTALL_DATADIR);
    return dataPath;
}

bool tideCore::firstLoadFailure(const char* filename, DWORD size) {
    return size || failedLoads.insert(filename ? filename : "").second;
}

void tideCore::loaded(const char* filename, DWORD size) {
    if (!size && filename && !failedLoads.empty()) failedLoads.erase(filename);
}

void* tideCore::Resource_Load(const char* filename, DWORD* size) {
    std::string data;
    tideFileStatus st;
    if (!loadFile(filename, data, kTideDataCap, &st)) {
        if (firstLoadFailure(filename)) {
            const char* name = filename ? filename : "(null)";
            if (st.Missing())
                System_Log("Can't open file: %s", name);
            else
                System_Log("Can't open file: %s (%s)", name, st.why.c_str());
        }
        if (size) *size = 0;
        return nullptr;
    }
    loaded(filename);
    // One NUL past the end lets text parsers run off the data safely.
    char* buf = static_cast<char*>(malloc(data.size() + 1));
    if (!buf) return nullptr;
    memcpy(buf, data.data(), data.size());
    buf[data.size()] = 0;
    if (size) *size = DWORD(data.size());
    return buf;
}

void tideCore::Resource_Free(void* res) { free(res); }

const char* tideCore::Resource_MakePath(const char* filename) {
    pathBuf = tideResolvePath(DataRoot(), filename, true);
    return pathBuf.c_str();
}

bool tideCore::Ini_Load(const char* filename, tideIniFile& out) {
    out = tideIniFile();
    std::string text;
    tideFileStatus st;
    if (!loadFile(filename, text, kTideTextCap, &st)) {
        if (firstLoadFailure(filename)) {
            if (st.Missing())
                System_Log("INI file not found: %s", filename ? filename : "(null)");
            else
                System_Log("Can't read INI file %s", st.why.c_str());
        }
        return false;
    }
    loaded(filename);
    out = tideIniFile(text, filename);
    return true;
}

const tideIniFile& tideCore::currentIni() {
    if (iniFile.empty()) {
        iniCache = IniCache();
        return iniCache.file;
    }
    // Read again only when the file is another one or changed: a rename
    // over it, a write, or a file appearing where there was none.
    std::string path;
    tideSys::Info now;
    if (memoryFiles.empty() || !memoryFiles.count(memoryName(iniFile.c_str()))) {
        path = hostPath(iniFile.c_str(), false);
        if (path.empty() || tideSys::Stat(path, true, now) != 0) now = tideSys::Info();
    }
    if (iniCache.valid && iniCache.name == iniFile && iniCache.path == path &&
        std::equal(std::begin(now.stamp), std::end(now.stamp), std::begin(iniCache.stat.stamp)) &&
        now.size == iniCache.stat.size)
        return iniCache.file;

    iniCache = IniCache();
    iniCache.valid = true;
    iniCache.name = iniFile;
    iniCache.path = path;
    iniCache.stat = now;
    std::string text;
    tideFileStatus st;
    if (loadFile(iniFile.c_str(), text, kTideTextCap, &st)) {
        missingIni.erase(iniFile);
        iniCache.file = tideIniFile(text, iniFile);
    } else if (missingIni.insert(iniFile).second) {
        if (st.Missing())
            System_Log("INI file not found: %s", iniFile.c_str());
        else
            System_Log("Can't read INI file %s", st.why.c_str());
    }
    return iniCache.file;
}

const char* tideCore::Ini_GetString(const char* section, const char* name, const char* def_val) {
    const tideIniFile& f = currentIni();
    iniBuf = section && name ? f.GetString(section, name, def_val ? def_val : "") : (def_val ? def_val : "");
    return iniBuf.c_str();
}

int tideCore::Ini_GetInt(const char* section, const char* name, int def_val) {
    return section && name ? currentIni().GetInt(section, name, def_val) : def_val;
}

float tideCore::Ini_GetFloat(const char* section, const char* name, float def_val) {
    return section && name ? currentIni().GetFloat(section, name, def_val) : def_val;
}

void tideCore::Ini_SetString(const char* section, const char* name, const char* value) {
    if (iniFile.empty() || !section || !name) return;
    std::string path = hostPath(iniFile.c_str(), true);
    bool read = false;
    tideFileStatus st{ENOENT, iniFile + ": no folder for it"};
    if (!path.empty())
        st = tideUpdateFile(path, kTideTextCap, [&](std::string& text, bool) {
            read = true;
            text = tideIni::Set(text, section, name, value ? value : "");
            return true;
        });
    if (!st && !read && !path.empty()) {
        // Only a file that is not there starts empty: writing over one that
        // could not be read would replace every setting in it with this one key.
        System_Log("Can't read INI file %s", st.why.c_str());
    } else if (!st) {
        // Once until a write succeeds: a save of several keys is one failure.
        if (failedIniWrites.insert(iniFile).second)
            System_Log("Can't write INI file: %s (%s)", iniFile.c_str(), st.why.c_str());
    } else {
        missingIni.erase(iniFile);
        failedIniWrites.erase(iniFile);
    }
}

void tideCore::Ini_SetInt(const char* section, const char* name, int value) {
    Ini_SetString(section, name, std::to_string(value).c_str());
}

void tideCore::Ini_SetFloat(const char* section, const char* name, float value) {
    char buf[64];
    snprintf(buf, sizeof(buf), "%g", double(value));
    Ini_SetString(section, name, buf);
}

// ---------------------------------------------------------------------------
// Random numbers

void tideCore::Random_Seed(int seed) {
    if (seed != 0) {
        rng.Seed(uint32_t(seed));
        return;
    }
    // The engine clock: the manual clock in scripted runs, so they repeat.
    double ms = Manual() || !backend ? time * 1000.0 : backend->Now() - startTime;
    rng.Seed(uint32_t(int64_t(std::llround(ms))));
}

// ---------------------------------------------------------------------------
// Input

void tideCore::Input_GetMousePos(float* x, float* y) {
    if (x) *x = input.X();
    if (y) *y = input.Y();
}

const char* tideCore::Input_GetKeyName(int key) {
    static const struct {
        int vk;
        const char* name;
    } names[] = {{TIDEK_LBUTTON, "Left Mouse Button"}, {TIDEK_RBUTTON, "Right Mouse Button"},
                 {TIDEK_MBUTTON, "Middle Mouse Button"}, {TIDEK_BACKSPACE, "Backspace"},
                 {TIDEK_TAB, "Tab"}, {TIDEK_ENTER, "Enter"}, {TIDEK_SHIFT, "Shift"},
                 {TIDEK_CTRL, "Ctrl"}, {TIDEK_ALT, "Alt"}, {TIDEK_PAUSE, "Pause"},
                 {TIDEK_CAPSLOCK, "Caps Lock"}, {TIDEK_ESCAPE, "Escape"}, {TIDEK_SPACE, "Space"},
                 {TIDEK_PGUP, "Page Up"}, {TIDEK_PGDN, "Page Down"}, {TIDEK_END, "End"},
                 {TIDEK_HOME, "Home"}, {TIDEK_LEFT, "Left Arrow"}, {TIDEK_UP, "Up Arrow"},
                 {TIDEK_RIGHT, "Right Arrow"}, {TIDEK_DOWN, "Down Arrow"},
                 {TIDEK_INSERT, "Insert"}, {TIDEK_DELETE, "Delete"},
                 {TIDEK_PAD_A, "A"}, {TIDEK_PAD_B, "B"}, {TIDEK_PAD_X, "X"}, {TIDEK_PAD_Y, "Y"},
                 {TIDEK_PAD_LB, "Left Shoulder"}, {TIDEK_PAD_RB, "Right Shoulder"},
                 {TIDEK_PAD_LT, "Left Trigger"}, {TIDEK_PAD_RT, "Right Trigger"},
                 {TIDEK_PAD_UP, "D-pad Up"}, {TIDEK_PAD_DOWN, "D-pad Down"},
                 {TIDEK_PAD_LEFT, "D-pad Left"}, {TIDEK_PAD_RIGHT, "D-pad Right"},
                 {TIDEK_PAD_START, "Start"}, {TIDEK_PAD_BACK, "Back"},
                 {TIDEK_PAD_LSTICK, "Left Stick Button"}, {TIDEK_PAD_RSTICK, "Right Stick Button"},
                 {TIDEK_PAD_STICK_UP, "Stick Up"}, {TIDEK_PAD_STICK_DOWN, "Stick Down"},
                 {TIDEK_PAD_STICK_LEFT, "Stick Left"}, {TIDEK_PAD_STICK_RIGHT, "Stick Right"}};
    for (const auto& n : names)
        if (n.vk == key) return n.name;
    static char one[4];
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        one[0] = char(key);
        one[1] = 0;
        return one;
    }
    if (key >= TIDEK_F1 && key < TIDEK_F1 + 12) {
        snprintf(one, sizeof(one), "F%d", key - TIDEK_F1 + 1);
        return one;
    }
    return "?";
}

// ---------------------------------------------------------------------------
// Scripted runs

bool tideCore::Frame(float dt) {
    if (!initiated) return true;
    backend->PumpEvents();
    return runFrame(dt);
}

void tideCore::SetMouse(float x, float y) { input.MouseMove(x, y); }
void tideCore::Key(int vk, bool down) { input.KeyEvent(vk, down); }
void tideCore::Wheel(int notches) { input.WheelEvent(notches); }
void tideCore::Char(int c) { input.CharEvent(c); }
void tideCore::SetMouseOver(bool over) { input.SetMouseOver(over); }

// ---------------------------------------------------------------------------
// Graphics

bool tideCore::Gfx_BeginScene(HTARGET target) {
    if (!backend) return false;
    if (target && !GetTarget(target)) {
        System_Log("Gfx_BeginScene: invalid render target %u", target);
        return false;
    }
    if (target == 0) {
        quads.clear();
        clears.clear();
    }
    inScene = backend->BeginScene(target);
    return inScene;
}

void tideCore::Gfx_EndScene() {
    if (!backend || !inScene) return;
    backend->EndScene();
    inScene = false;
    if (imageJobs) imageJobs->Open();
}

void tideCore::Gfx_Clear(DWORD color) {
    if (Manual()) clears.push_back(color);
    if (backend) backend->Clear(color);
}

void tideCore::Gfx_SetClipping(int x, int y, int w, int h) {
    if (backend && inScene) backend->SetClipping(x, y, w, h);
}

void tideCore::Gfx_Record(std::vector<tideQuad>* into) {
    // Every quad has to reach the engine while recording: the run ends.
    quadRun.end = quadRun.next;
    if (into) {
        if (recording) outerRecordings.push_back(recording);
        recording = into;
    } else if (!outerRecordings.empty()) {
        recording = outerRecordings.back();
        outerRecordings.pop_back();
    } else {
        recording = nullptr;
    }
}

void tideCore::Gfx_RenderQuadSlow(const tideQuad* quad) {
    if (!quad) return;
    if (recording) {
        recording->push_back(*quad);
        return;
    }
    if (Manual()) quads.push_back(*quad);
    if (backend) backend->RenderQuad(*quad);
}

bool tideCore::Gfx_Snapshot(const char* path) {
    return backend && path && backend->Snapshot(path);
}
