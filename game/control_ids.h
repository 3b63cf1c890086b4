// Ids of the menu screens' GUI controls: what each screen's manager returns
// from Update when that control acted.
#pragma once

// Main menu.
enum MainMenuId : int {
    ID_MENU_START = 1,
    ID_MENU_OPTIONS = 2,
    ID_MENU_EXIT = 3,
    ID_CONTINUE = 4,  // resumes the saved battle
};

// Options screen.
enum OptionsId : int {
    ID_OPTIONS_BACK = 7,
    ID_SOUND_SLIDER = 8,
    ID_MUSIC_SLIDER = 9,
    ID_SPEED_SLIDER = 10,
    ID_LEAVE_BATTLE = 11,  // gives up the battle the screen was opened from
    ID_DIFFICULTY = 12,    // for the battles started from now on
};

// Level choice. The campaign's level n (from 1) has the id ID_LEVEL_FIRST + n - 1,
// and the players' own levels share one list.
enum LevelChoiceId : int {
    ID_LEVELS_BACK = 10,
    ID_USER_LEVELS = 12,
    ID_LEVEL_FIRST = 100,
};
