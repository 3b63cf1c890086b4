// cGame: the single game controller. It owns the board, the units, the GUI
// managers and the battle's shared statics, and dispatches every frame to the
// screen of the current game state.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/tide.h"
#include "game/battle_fx.h"
#include "battle/battle_rules.h"
#include "game/campaign.h"
#include "battle/cell.h"
#include "game/config.h"
#include "game/control_ids.h"
#include "battle/difficulty.h"
#include "game/level_map.h"
#include "game/progress.h"
#include "game/stars.h"
#include "gfx/cached_layer.h"
#include "units/unit_host.h"

class cUnit;
class cBattleSaver;
class cProjectile;
class cInterface;
class tideGUI;
class tideGUISlider;
class tideGUIChoice;
class tideGUIListbox;
class tideSprite;
class tideAnimation;
class tideFont;
class tideDistortionMesh;
class tideResourceManager;

// The screens. `gamestate` stays an int: a value outside these shows nothing
// and the loop goes on.
enum GameScreen : int { GS_MMENU = 0, GS_OPTIONS = 1, GS_CHLVL = 2, GS_GAME = 3 };

// What the end-of-battle banner says.
const int BANNER_NONE = 0;
const int BANNER_VICTORY = 1;
const int BANNER_DEFEAT = 2;
const int BANNER_CAMPAIGN = 3;  // victory in the last level

// The selection sprites "sel1" (drawn under the acting unit) and "sel2".
extern tideSprite* grid_sel1;
extern tideSprite* grid_sel2;

class cGame final : public cUnitHost {
public:
    cGame();
    ~cGame();
    cGame(const cGame&) = delete;
    cGame& operator=(const cGame&) = delete;

    static cGame* Instance() { return instance; }

    bool update();
    void render();

    // Configuration (config.cpp): the shipped "Res\\config.txt" gives the
    // defaults, the user's own config.txt (TIDE_CONFIGDIR) is read over it
    // key by key and is the only file the options screen writes.
    void LoadData();
    void SaveOptions();
    cConfig::Settings SettingsToSave();  // the option settings as SaveOptions writes them
    int ConfigInt(const char* section, const char* key, int def);
    float ConfigFloat(const char* section, const char* key, float def);
    bool ConfigHas(const char* section, const char* key);
    std::string ConfigString(const char* section, const char* key, const char* def);

    // Host path of the user's file `name` in `folder` (TIDE_CONFIGDIR for
    // settings, TIDE_USERDATADIR for saved progress, TIDE_STATEDIR); with
    // `create` the folder is made first, readable by the user only. "" when
    // there is no such folder or it cannot be made (user_files.cpp).
    std::string UserFile(tideStringState folder, const char* name, bool create);

    // Board (board.cpp).
    cCell* GetCell(tcellpos p);
    tcellpos screenToCell(int sx, int sy);
    tcellpos cellToScreen(int cx, int cy);
    bool UnitToCell(cUnit* u, int x, int y);
    bool MoveToCell(int x1, int y1, int x2, int y2);

    // Level files (level.cpp) and turn order (turn.cpp).
    void LoadLevel(int n);
    // Starts the battle of the level file `file` ("res\\lvl1.txt"); the
    // dice are seeded from `seed`, or from the clock when it is 0.
    void LoadLevelFile(const std::string& file, uint32_t seed = 0);
    void NextTurn();
    void PlaceTurnMarkers();  // the turn bar's slots, in the order of `units`
    void NextStep();
    void SelectUnit(int i);

    // The battle state and its views (battle_views.cpp). `battle` is the
    // single truth; `units`, `selunit`, the cells' units and `proj` show it
    // and are brought in line with it by SyncViews after the rules change it.
    void SyncViews();
    cUnit* ViewOf(int id) const;  // null when the unit has no view
    // The unit shown as acting (its ring, panel and turn-bar mark): the one
    // whose action still plays out, though the turn has passed on, else the
    // one to act.
    cUnit* ActingView() const;
    int showing = 0;  // id of the unit whose action was played last
    void RenderActingRing();
    void RenderUnits();
    // Adds a unit made on its own (placed with SetParent) to the battle, last
    // in the order, and makes it a view of its new record.
    void AddUnit(cUnit* u);
    // Reorders this turn's units as `order` lists them; its first unit acts.
    void SetOrder(const std::vector<cUnit*>& order);
    // The acting unit takes `a` on screen: the rules change the battle, the
    // views show it, the action passes on. False when the rules refuse it.
    bool Perform(const battle::Action& a);
    // Does what a left click at screen point (sx, sy) does for the acting
    // player unit: attack the enemy in reach there, or step toward it.
    // False when the click does nothing.
    bool PlayerClickAt(float sx, float sy);

    // The battle under way and its save (battle_save.cpp, level.cpp):
    // "battle.txt" in the user's data folder, written whenever an action has
    // resolved and when the game ends, offered by Continue on the next start,
    // removed when the battle is won, lost or given up.
    void StartBattle(const BattleState& s, bool saved);  // plays `s` from here on
    void ClearBattle();
    int LevelNumber(const std::string& file) const;  // 0: not one of the campaign's
    std::string BattleFile(bool create);
    BattleRead ReadSavedBattle(const std::string& text, BattleState& out, std::string& why, int& starts);
    void KeepBattleAside(const std::string& path, const std::string& what);
    void CheckSavedBattle();   // at start: is there a battle to continue?
    bool ResumeBattle();       // Continue
    void SaveBattle();
    void SaveSettledBattle();  // once the last action has resolved
    void ForgetBattle();       // won, lost or given up: the file goes
    void EndSession();         // the game ends cleanly: the battle is kept
    // Saves are written off the frame thread (battle_saver.h); what they find
    // comes back through saveNewer and saveError.
    enum class BattleSave { Saved, Newer, Failed };
    static BattleSave WriteBattleFile(const std::string& path, const std::string& text, std::string* why);
    void StartSaver();
    std::unique_ptr<cBattleSaver> saver;
    std::atomic<bool> saveNewer{false};
    std::mutex saveMutex;
    std::string saveError;
    // "Give up this battle?" over the options screen (battle_leave.cpp).
    void UpdateLeavePrompt();
    void RenderLeavePrompt();
    bool leavePrompt = false;
    bool savedBattle = false;  // battle.txt holds a battle to continue
    bool continueShown = false;  // the main menu shows Continue
    bool saveBlocked = false;  // ... saved by a newer game: never written over
    bool battleLive = false;   // a battle is under way
    bool battleSaved = false;  // ... and kept in battle.txt (a campaign level's)
    bool saveFailed = false;   // the last save failed (said once)
    int battleStarts = 0;      // Continues of it since the game last ended cleanly
    uint64_t savedHash = 0;    // the battle as last saved

    // Undo (battle_undo.cpp): the player's recent actions taken back with
    // everything that followed them; `undo` holds the battle as it stood
    // before each (only the last on Hard).
    void RememberForUndo();
    void RequestUndo();   // now, or once the action on screen has played out
    bool UndoNow();
    void UpdateUndo(float dt);  // U, Ctrl+Z, a gamepad's Y
    void RenderNotice();        // the last notice, for a moment
    void Notice(const char* text);
    std::vector<BattleState> undo;
    bool undoWanted = false;
    std::string notice;    // a short message over the battle, shown for a moment
    float noticetime = 0;
    // The battle's buttons (battle_buttons.cpp): Undo, Pass and Menu (the
    // options), off the playable board; Pass and Menu act only while the
    // player's unit may act. UpdateBattleButtons is true when a button took
    // this frame's click or tap.
    enum class BattleButton { None = -1, Undo, Pass, Menu };
    BattleButton BattleButtonAt(float x, float y) const;
    bool BattleButtonLive(BattleButton b) const;  // a press would act: drawn faded otherwise
    bool UpdateBattleButtons();
    void RenderBattleButtons();

    // The units' view of the game (cUnitHost, battle_views.cpp): the board,
    // resources, the control lock, the shot in flight, and what they report
    // (hit numbers, death bursts, sounds).
    cCell* Cell(int x, int y) override;
    tideAnimation* Animation(const char* name) override;
    tideSprite* Sprite(const char* name) override;
    HEFFECT Effect(const char* name) override;
    tideFont* Font() override;
    void ActionStarted() override;
    void ActionEnded() override;
    void ShotFired(cProjectile* p) override;
    void UnitHit(const cUnit& u, int lost, bool killed) override;
    void UnitSound(HEFFECT snd) override;

    // Battle update and player control (battle.cpp).
    void update_game(float dt);
    void ControlUpdate();
    void NotLockableControlUpdate();
    // The anchor cell `u` would move to for a left click at screen point
    // (sx, sy), or null when such a click moves nothing. One rule for the
    // click and for every preview of it: the clicked cell must be free, and
    // of the steps `Move` accepts whose footprint holds that cell the one
    // whose centre is nearest the point wins, a straight step before a
    // diagonal one on a tie.
    cCell* ClickMoveTarget(const cUnit* u, float sx, float sy);

    // Enemy AI (ai.cpp).
    void AIMove();
    cUnit* AIFindPriorityTarget(cUnit* u);
    cCell* AIFindCellToMove(cUnit* u);
    float UnitDistance(cUnit* a, cUnit* b);
    float CellDistance(cCell* a, cCell* b);

    // Battle drawing (battle_render.cpp).
    void render_game();
    HTEXTURE drawgrid();

    // Menus (menu.cpp) and options (options.cpp).
    void update_mmenu(float dt);
    void render_mmenu();
    void update_chlvl(float dt);
    void render_chlvl();
    void RenderLevelChoice();  // all of the level choice but the pointer
    // The best stars on the level choice (level_stars.cpp): under every
    // spot those of the difficulty set, and for level `shown` (0: none) those
    // of each difficulty in a line centred at (x, y).
    void RenderLevelStars(int shown, float x, float y);
    void update_options(float dt);
    void render_options();

    // Control lock and battle statics (statics.cpp).
    static void LockControl();
    static void UnlockControl();
    static bool IsControlLocked();
    static void SetProjectile(cProjectile* p);
    static tideFont* GetFont1() { return fnt1; }

    // Resources the game draws with (lookup.cpp): null when the resource
    // manager cannot give the name, which is then logged once per game.
    static tideSprite* NeedSprite(const char* name);
    static tideAnimation* NeedAnimation(const char* name);
    static tideFont* NeedFont(const char* name);
    static void ForgetMissing(); // a new game reports its misses afresh

    // Members, in the order the game's design gives them.
    std::vector<cUnit*> units;
    Tide* tide = nullptr;
    tideGUI* gui = nullptr;
    tideGUI* guioptions = nullptr;
    tideGUI* chlvlgui = nullptr;
    tideGUISlider* music_sld = nullptr;
    tideGUISlider* sound_sld = nullptr;
    tideGUISlider* speed_sld = nullptr;
    tideGUIChoice* difficulty_ch = nullptr;  // Easy, Normal, Hard in that order
    tideSprite* sliderbg1 = nullptr;
    tideSprite* sliderbg2 = nullptr;
    tideSprite* sliderbg3 = nullptr;
    HSTREAM music = 0;
    HCHANNEL muschan = 0;
    int musicvolume = 50;
    tcellpos overcell{0, 0};
    cInterface* iface = nullptr;
    int gamestate = GS_MMENU;
    int prevgamestate = GS_MMENU;
    std::vector<cCell> cells;
    cCell* selcell = nullptr;
    cUnit* selunit = nullptr;
    tideSprite* spr = nullptr;
    tideSprite* cellglow_rose = nullptr;
    tideSprite* cellglow_rose_2x = nullptr;
    tideSprite* bgd = nullptr;
    tideSprite* cur = nullptr;
    tideSprite* aim = nullptr;
    tideSprite* mmenubg = nullptr;
    tideDistortionMesh* mmdistort = nullptr;
    tideSprite* chlvl = nullptr;
    tideSprite* glowspr = nullptr;
    bool show_aim = false;
    int gridw = 16, gridh = 12, cellw = 64, cellh = 64;
    cUnit* unit = nullptr;
    float mx = 0, my = 0;
    float dt = 0;
    bool doQuit = false;

    // Our own additions.
    HTEXTURE gridtex = 0;      // made by drawgrid; kept only while the backdrop needs the layers
    int soundvolume = 50;      // effects volume 0..100 (sound slider)
    int speed = 50;            // battle pace 0..100 (speed slider), 50 = normal
    bool settingsUnsaved = false; // the settings could not be saved; said once until they are
    Difficulty difficulty = Difficulty::Normal;  // the setting, for the next battle
    cConfig config;               // the configuration files as read (config.cpp)

    // The battle's static layers (background and grid) composed into one
    // picture when a level is loaded, so a frame fills the window once for
    // them instead of twice (battle_render.cpp). Without it (no render
    // target to be had) the layers are drawn one by one.
    void ComposeBackdrop();
    void RenderBackdrop();
    tideCachedLayer backdrop{1024, 768};
    // What changes only with what the player does, or only in a few places
    // a frame, is drawn into one picture, the steady layer, redrawn where its
    // quads change: on the battle the board (RenderBoard) over the backdrop,
    // on the level choice all of it but the pointer. The two screens never
    // show together and share its target; the others give it back. It is
    // prepared before the frame's scene (scenes do not nest); without a
    // render target the screen draws the same things itself.
    void PrepareLayer();
    void RenderBoard(cUnit* hover);
    void RenderPointerHighlight();
    cCell* PointedCell();              // under the pointer, on the playable board only
    tideCachedLayer layer{1024, 768};
    void MakeGrid();
    void FreeGrid();
    void RenderGrid();

    // Full-window pictures take megabytes each: the screen on show keeps its
    // own, those one click away are read ahead, and the others are read from
    // their files again when shown next.
    void KeepPicturesFor(int state);
    int shownstate = -1;  // the screen the last frame drew
    bool logoShown = false;  // the logo's picture is given back once its time is up

    // Battle pace factor from `speed`: 0.5 at 0, 1 at 50, 4 at 100.
    float BattleSpeedFactor() const;

    // Screens' shared helpers (menu.cpp, options.cpp).
    void ReadOptions();                  // sound and speed settings from the configuration
    void AddDifficultyChoice();          // on the options screen, set to the setting
    void RippleMenu(float t);            // the menu background's diagonal wave at clock t
    void SwitchMusic(const char* name);  // stop the music, loop stream `name` instead
    void OpenOptions();  // the options screen, Back returning to this one

    // The campaign (campaign.cpp) and the level choice's map drawn from it
    // (level_map.cpp, menu.cpp); the player's progress through it
    // (progress.cpp): read at start, saved when a win changes it.
    cCampaign campaign;
    cLevelMap levelmap;
    cLevelMap::Look maplook;
    cProgress progress;
    bool progressReadOnly = false;  // a newer game's file: never written over
    void LoadProgress();
    void SaveProgress();
    bool LevelOpen(int n) const;    // campaign level n (from 1) may be played
    int MaxOpenLevel() const;       // the last open campaign level, 0 for none
    void WinLevel(int stars);       // the level being played was won, earning `stars`
    void StartLevel(int n);         // campaign level n, under its briefing
    void RenderNewestLabel();       // "Level available" by the newest open level
    void RenderLockedNotice();      // why `lockedLevel` cannot be played yet
    tideRect LevelArea(int n) const;  // what level n's picture covers on the map
    int lockedLevel = 0;            // the locked level last clicked, and how long ago
    float lockedTime = 0;
    // A level file outside the campaign (--level, the player's own levels):
    // at once, no briefing, no progress; it ends at the level choice.
    void PlayLevelFile(const std::string& path);
    // The player's own levels (user_levels.cpp): the level files in "levels"
    // of the user's data folder, listed on the level choice after the
    // campaign, open from the start. `fault` says why one cannot be played.
    struct cUserLevel {
        std::string name, path, fault;
    };
    std::vector<cUserLevel> userLevels;
    tideGUIListbox* userList = nullptr;  // in chlvlgui, made once there is a level to list
    void FindUserLevels();
    void RenderUserLevels();
    void PlayUserLevel();
    int curlvl = 0;                 // the campaign level being played, 0 for another level file
    // The briefing over a campaign level's board before it starts (briefing.cpp).
    bool UpdateBriefing();          // true when the frame belongs to it
    void RenderBriefing();
    void EndBriefing();
    bool briefing = false;
    // Progress as a file's text, and taken back from one (progress_transfer.cpp):
    // false, and nothing changed, unless the text is progress this game
    // could have saved.
    std::string ExportProgress();
    bool ImportProgress(const std::string& text);

    // The end of a battle (banner.cpp): the board stays under a banner and
    // the battle's summary until a fresh click or key, then the level choice.
    void BindFeedback();  // looks up the banner's, help's and board effects' resources
    void EndBattle(bool won);
    bool UpdateBanner(float dt);  // false when no banner is up
    void RenderBanner();
    int banner = 0;  // BANNER_* below
    float bannertime = 0;
    BattleStars endstars;  // what the battle that ended earned
    int endpar = 0;        // its level's par in turns, 0 for none

    // Menu keys, "Leave battle" and slider labels (menu_keys.cpp), and the help
    // overlay shown over any screen (help.cpp).
    void SetupMenuKeys();
    // A screen just shown puts the focus on its first control, so Enter
    // goes on from every screen without a look at the mouse.
    void FocusOnOpen();
    int focusstate = -1;  // the screen whose focus was set last
    bool BackPressed();   // Escape, or B on a gamepad, went down this frame
    bool PointerShown();  // the pointer sprite is drawn: not while a finger plays
    void LeaveBattle();
    bool UpdateHelp();  // true when the frame belongs to the overlay
    bool AnyPress();    // a click or a key went down this frame (not a key repeat)
    void RenderHelp();
    bool showhelp = false;
    int helpdevice = TIDE_DEVICE_KEYBOARD;  // whose controls the overlay lists

    // Keys and a pad on the board (board_cursor.cpp): arrows move the
    // game's pointer cell by cell (starting on each new acting unit), Tab or
    // the shoulders jump to the enemies in reach; true in the frame Enter or
    // A should act as a click there. The frame is drawn while keys play
    // (true: the pointer sprite is not).
    bool CursorConfirms();
    bool RenderBoardCursor();
    void PointAtCell(tcellpos cell);
    tcellpos CursorCell();
    cUnit* NextInReach(bool back);
    cUnit* cursorunit = nullptr;  // the acting unit the cursor last started on

    // A finger on the board (board_touch.cpp): true in the frame a second
    // tap on the cell the first tap showed should act as a click there.
    bool TouchConfirms();
    float touchheld = -1;      // seconds the finger has been down, -1 when up
    tcellpos touchcell{-1, -1};
    bool touchshown = false;   // a tap showed touchcell

    // Hit numbers, flashes and death bursts on the board (battle_fx.cpp).
    cBattleFx fx;

    // Statics.
    static cGame* instance;
    static tideResourceManager* resman;
    static tideFont* fnt1;
    static st_global global;
    static cProjectile* proj;
    static int locklvl;
    // The battle being played, and the turn machine's counters in it.
    static BattleState battle;
    static int& turn;
    static unsigned int& step;

private:
    void Init();
};
