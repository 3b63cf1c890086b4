// cGame set-up and teardown: binds every resource the screens use by name,
// builds the board and the three GUI managers, and starts the menu music.
#include "game/game.h"

#include <cstddef>

#include "game/battle_saver.h"
#include "game/interface.h"
#include "gfx/distort.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "gui/controls.h"
#include "gui/gui.h"
#include "gui/guiButton.h"
#include "res/resource_manager.h"
#include "units/projectile.h"
#include "units/unit.h"

namespace {

struct ButtonDef {
    int id;
    float x, y, w, h;
    const char* norm;
    const char* over;
};

const ButtonDef kMenuButtons[] = {
    {ID_MENU_START, 428, 500, 168, 43, "button1", "button1Over"},
    {ID_MENU_OPTIONS, 428, 550, 168, 43, "button2", "button2Over"},
    {ID_MENU_EXIT, 428, 600, 168, 43, "button3", "button3Over"},
};

const ButtonDef kLevelsBack = {ID_LEVELS_BACK, 100, 650, 168, 43, "optionsback",
                               "optionsbackover"};
const ButtonDef kOptionsBack = {ID_OPTIONS_BACK, 428, 600, 168, 36, "optionsback",
                                "optionsbackover"};

// The sprites are looked up anew for every button, as each button may be
// given its own pair in the script later.
void AddButton(tideGUI* g, const ButtonDef& b) {
    g->AddCtrl(new guiButton(b.id, b.x, b.y, b.w, b.h, cGame::NeedSprite(b.norm),
                             cGame::NeedSprite(b.over), cGame::resman->GetEffect("button_over", 0)));
}

tideGUISlider* AddSlider(tideGUI* g, int id, float x) {
    auto* s = new tideGUISlider(id, x, 500, 160, 39, cGame::resman->GetTexture("slider", 0), 0,
                                0, 19, 19, false);
    g->AddCtrl(s);
    s->SetMode(0, 100, 2);
    return s;
}

}  // namespace

cGame::cGame() {
    units.clear();
    cells.clear();
    overcell = tcellpos(0, 0);
    doQuit = false;
    iface = nullptr;

    instance = this;
    battle = BattleState();
    ForgetMissing();
    tide = tideCreate(TIDE_VERSION);
    resman = new tideResourceManager("Res\\allres.txt");

    Init();

    fnt1 = NeedFont("font2");
    if (fnt1) fnt1->SetColor(0xFFFFFFFF);

    music = resman->GetStream("main_theme", 0);
    muschan = tide->Stream_Play(music, true, musicvolume);

    mmenubg = NeedSprite("mmenu");
    chlvl = NeedSprite("chlvl");
    spr = NeedSprite("white");
    bgd = NeedSprite("map");
    cur = NeedSprite("cursor");
    aim = NeedSprite("cursor_attack");
    cellglow_rose = NeedSprite("cellglow_rose");
    cellglow_rose_2x = NeedSprite("cellglow_rose_2x");
    glowspr = NeedSprite("glow1");

    // Color add with black nodes leaves the texture's own colors unchanged.
    mmdistort = new tideDistortionMesh(16, 16);
    mmdistort->SetTexture(resman->GetTexture("mmenu", 0));
    mmdistort->SetTextureRect(0, 0, 1024, 768);
    mmdistort->SetBlendMode(BLEND_COLORADD | BLEND_ALPHABLEND | BLEND_ZWRITE);
    mmdistort->Clear(0xFF000000, 0.5f);

    grid_sel1 = NeedSprite("sel1");
    grid_sel2 = NeedSprite("sel2");

    gui = new tideGUI();
    for (const ButtonDef& b : kMenuButtons) AddButton(gui, b);

    // The level choice as the campaign file lays it out.
    campaign.Load(tide);
    levelmap.Build(campaign);
    maplook = {NeedSprite("lvlspot"), NeedSprite("lvlbadge"), NeedSprite("trailedge"),
               NeedSprite("traildash"), fnt1};
    chlvlgui = new tideGUI();
    for (int n = 1; n <= levelmap.Count(); ++n) {
        tideRect r = levelmap.Button(n);
        AddButton(chlvlgui, {ID_LEVEL_FIRST + n - 1, r.x1, r.y1, r.x2 - r.x1, r.y2 - r.y1,
                             "chlvlbut", "chlvlbutover"});
    }
    AddButton(chlvlgui, kLevelsBack);
    FindUserLevels();

    guioptions = new tideGUI();
    AddButton(guioptions, kOptionsBack);
    sound_sld = AddSlider(guioptions, ID_SOUND_SLIDER, 178);
    music_sld = AddSlider(guioptions, ID_MUSIC_SLIDER, 428);
    speed_sld = AddSlider(guioptions, ID_SPEED_SLIDER, 678);
    music_sld->SetValue(static_cast<float>(musicvolume));
    sound_sld->SetValue(static_cast<float>(soundvolume));
    speed_sld->SetValue(static_cast<float>(speed));
    AddDifficultyChoice();
    tide->System_SetState(TIDE_FXVOLUME, soundvolume);
    config.saved = SettingsToSave();  // a save writes only what changes from here

    sliderbg1 = NeedSprite("bgslider1");
    sliderbg2 = NeedSprite("bgslider2");
    sliderbg3 = NeedSprite("bgslider3");

    selcell = nullptr;
    selunit = nullptr;
    turn = 0;

    LoadProgress();
    BindFeedback();
    SetupMenuKeys();
    // Above Start, shown while there is a battle to continue.
    gui->AddCtrl(new guiButton(ID_CONTINUE, 428, 450, 168, 43, NeedSprite("continue"), NeedSprite("continueover")));
    StartSaver();
    gui->ShowCtrl(ID_CONTINUE, false);
    gui->EnableCtrl(ID_CONTINUE, false);
    continueShown = false;
    CheckSavedBattle();
}

cGame::~cGame() {
    EndSession();
    saver.reset();  // the last save is finished first
    delete iface;
    iface = nullptr;

    // Units and the projectile may hold copies of resources, so they go
    // before the resource manager.
    for (cUnit* u : units) delete u;
    units.clear();
    delete proj;
    proj = nullptr;
    battle = BattleState();

    delete gui;
    delete chlvlgui;
    delete guioptions;
    gui = chlvlgui = guioptions = nullptr;
    sound_sld = music_sld = speed_sld = nullptr;
    difficulty_ch = nullptr;

    delete mmdistort;
    mmdistort = nullptr;
    FreeGrid();
    backdrop.Free();
    layer.Free();

    delete resman;
    resman = nullptr;
    fnt1 = nullptr;
    grid_sel1 = grid_sel2 = nullptr;

    if (instance == this) instance = nullptr;
    tide->Release();
    tide = nullptr;
}

void cGame::Init() {
    LoadData();
    ReadOptions();
    gamestate = GS_MMENU;

    gridw = 16;
    gridh = 12;
    cellw = 64;
    cellh = 64;
    cells.clear();
    cells.reserve(static_cast<std::size_t>(gridw * gridh));
    for (int y = 0; y < gridh; ++y) {
        for (int x = 0; x < gridw; ++x) {
            cells.emplace_back(x, y);
            cells.back().SetScr(cellToScreen(x, y));
        }
    }
}
