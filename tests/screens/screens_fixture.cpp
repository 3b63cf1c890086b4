#include "tests/screens/screens_fixture.h"

#include <sstream>

#include "gui/gui.h"
#include "res/resource_manager.h"
#include "tests/game/shown_quads.h"
#include "units/unit.h"

namespace {

cGame* running = nullptr;

bool FrameFunc() { return running->update(); }
bool RenderFunc() {
    running->render();
    return false;
}

// Sprites the screens bind, each with its own small texture of the same name
// so that tests can tell them apart by texture handle.
const char* const kScreenSprites[] = {
    "chlvl", "white", "map", "cursor", "cursor_attack", "cellglow_rose", "cellglow_rose_2x",
    "glow1", "sel1", "sel2", "button1", "button1Over", "button2", "button2Over", "button3",
    "button3Over", "chlvlbut", "chlvlbutover", "optionsback", "optionsbackover", "bgslider1",
    "bgslider2", "bgslider3", "orvo_logo", "arrow", "torpedo", "spike", "leavebattle",
    "leavebattleover", "bannerplate", "helppanel", "hitflash", "bubbledot", "lvlwon",
    "summaryplate", "star_on", "star_off", "threat_hatch", "undo", "undoover", "pass", "passover",
    "menu", "menuover", "continue", "continueover", "lvlspot", "lvlbadge", "trailedge", "traildash"};

// Unit kinds' animations and turn sprites, all cut from one shared texture.
const char* const kUnitAnimations[] = {
    "aqua_idle", "aqua_move", "torp_idle", "torp_move", "torp_attack", "bati_idle",
    "paul_idle", "paul_move", "paul_attack", "akul_idle", "akul_move", "akul_attack",
    "medu_idle", "medu_move"};
const char* const kUnitSprites[] = {"aqua_on", "aqua_off", "torp_on", "torp_off", "bati_on",
                                    "bati_off", "paul_on", "paul_off", "shark_on", "shark_off",
                                    "medu_on", "medu_off"};

}  // namespace

void ScreensTest::SetUp() {
    eng = std::make_unique<HeadlessEngine>();
    hl = eng->hl;
}

void ScreensTest::TearDown() {
    Stop();
    eng.reset();
}

std::string ScreensTest::DefaultConfig() {
    return "[options]\nmusic=30\n"
           "[aqua]\nhealth=5\ndmg=10\narmor=0\nrange=5\n"
           "[medu]\nhealth=1\ndmg=1\narmor=0\nrange=1\n";
}

void ScreensTest::WriteData(const std::string& config) {
    std::ostringstream s;
    s << "; test data\n";
    eng->WriteSolidPng("mmenu.png", 1024, 768, 0xFF204060);
    s << "Texture mmenu { filename = \"mmenu.png\" }\n";
    s << "Sprite mmenu { texture = mmenu rect = 0, 0, 1024, 768 }\n";
    for (const char* name : kScreenSprites) {
        eng->WriteSolidPng(std::string(name) + ".png", 16, 16, 0xFFFFFFFF);
        s << "Texture " << name << " { filename = \"" << name << ".png\" }\n";
        s << "Sprite " << name << " { texture = " << name << " rect = 0, 0, 16, 16 }\n";
    }
    eng->WriteSolidPng("slider.png", 32, 32, 0xFFFFFFFF);
    s << "Texture slider { filename = \"slider.png\" }\n";
    eng->WriteSolidPng("units.png", 64, 64, 0xFFFFFFFF);
    s << "Texture units { filename = \"units.png\" }\n";
    for (const char* name : kUnitAnimations)
        s << "Animation " << name << " { texture = units rect = 0, 0, 32, 32 frames = 2 fps = 8 }\n";
    for (const char* name : kUnitSprites)
        s << "Sprite " << name << " { texture = units rect = 0, 0, 32, 32 }\n";

    // A font whose every glyph is kGlyphW by kGlyphH with no extra advance.
    eng->WriteSolidPng("font2.png", 256, 16, 0xFFFFFFFF);
    std::ostringstream fnt;
    fnt << "[TIDEFONT]\nBitmap=font2.png\n";
    for (int c = 32; c < 127; ++c)
        fnt << "Char=" << std::hex << c << std::dec << "," << (c - 32) * 2 << ",0," << kGlyphW
            << "," << kGlyphH << ",0,0\n";
    eng->WriteFile("font2.fnt", fnt.str());
    s << "Font font2 { filename = \"font2.fnt\" }\n";
    s << "Font bannerfont { filename = \"font2.fnt\" }\n";
    eng->WriteFile("texts.txt", "[TIDESTRINGTABLE]\nhelp_title = \"Controls\"\nhelp_keys = \"Keys\"\n");
    s << "StringTable texts { filename = \"texts.txt\" }\n";

    eng->WriteWav("main_theme.wav");
    eng->WriteWav("game_music.wav");
    eng->WriteWav("button_over.wav");
    eng->WriteWav("victory.wav");
    eng->WriteWav("defeat.wav");
    s << "Sound victory { filename = \"victory.wav\" }\n";
    s << "Sound defeat { filename = \"defeat.wav\" }\n";
    s << "Stream main_theme { filename = \"main_theme.wav\" }\n";
    s << "Stream game_music { filename = \"game_music.wav\" }\n";
    s << "Sound button_over { filename = \"button_over.wav\" }\n";
    eng->WriteFile("Res/allres.txt", s.str());

    eng->WriteFile("Res/config.txt", config);
    std::ostringstream lvl;
    lvl << "[unit1]\nname=Aqua\nx=" << kAquaX << "\ny=" << kRow << "\n"
        << "[unit2]\nname=Medu\nx=" << kMeduX << "\ny=" << kRow << "\n";
    eng->WriteFile("res/lvl1.txt", lvl.str());
    eng->WriteFile("res/lvl2.txt", lvl.str());
    eng->WriteFile("res/campaign.txt", CampaignText(kLevels));
    eng->WriteFile("res/kinds.txt", ShippedDataText("kinds.txt"));
}

void ScreensTest::Start() {
    game = new cGame();
    running = game;
    eng->tide->System_SetState(TIDE_FRAMEFUNC, FrameFunc);
    eng->tide->System_SetState(TIDE_RENDERFUNC, RenderFunc);
}

void ScreensTest::Stop() {
    if (!game) return;
    eng->tide->System_SetState(TIDE_FRAMEFUNC, (tideCallback) nullptr);
    eng->tide->System_SetState(TIDE_RENDERFUNC, (tideCallback) nullptr);
    delete game;
    game = nullptr;
    running = nullptr;
}

void ScreensTest::PassLogo() {
    while (eng->tide->Timer_GetTime() < 2.0f) Frame(0.25f);
    Frame();
}

bool ScreensTest::Click(float x, float y) {
    Move(x, y);
    hl->Key(TIDEK_LBUTTON, true);
    bool quit = Frame();
    hl->Key(TIDEK_LBUTTON, false);
    Frame();
    return quit;
}

void ScreensTest::Key(int vk) {
    hl->Key(vk, true);
    Frame();
    hl->Key(vk, false);
    Frame();
}

void ScreensTest::Drag(float x0, float y0, float x1, float y1) {
    Move(x0, y0);
    hl->Key(TIDEK_LBUTTON, true);
    Frame();
    for (int i = 1; i <= 4; ++i) {
        Move(x0 + (x1 - x0) * static_cast<float>(i) / 4, y0 + (y1 - y0) * static_cast<float>(i) / 4);
        Frame();
    }
    hl->Key(TIDEK_LBUTTON, false);
    Frame();
}

bool ScreensTest::PlayerMayAct() const {
    cUnit* u = game->selunit;
    return u && u->IsPlayerControlled() && u->actionpoint > 0 && !cGame::IsControlLocked();
}

tcellpos ScreensTest::LevelButton(int n) const {
    return {static_cast<int>(game->levelmap.SpotX(n)), static_cast<int>(game->levelmap.SpotY(n))};
}

void ScreensTest::StartLevel(int n) {
    if (game->gamestate == GS_MMENU) Click(512, 521);
    ASSERT_EQ(game->gamestate, GS_CHLVL);
    tcellpos b = LevelButton(n);
    Click(static_cast<float>(b.first), static_cast<float>(b.second));
}

std::vector<int> ScreensTest::Ids(const tideGUI* g) {
    std::vector<int> ids;
    for (tideGUIObject* c = g->ctrls; c; c = c->next) ids.push_back(c->id);
    return ids;
}

HTEXTURE ScreensTest::Texture(const char* name) const { return cGame::resman->GetTexture(name, 0); }

std::vector<tideQuad> ScreensTest::QuadsWith(HTEXTURE tex) const {
    return ShownQuadsWith(game, *hl, tex);
}

std::vector<std::string> ScreensTest::StreamsPlayed() const {
    std::vector<std::string> out;
    for (const tideSoundEvent& e : hl->Sounds())
        if (e.kind == TIDE_SND_STREAM) out.push_back(e.name);
    return out;
}
