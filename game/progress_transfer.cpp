// Progress leaving the game as a file and coming back (the browser page
// offers both, since a browser's storage can be cleared): the text the game
// saves, and a text taken only when the progress reader accepts all of it,
// exactly as strictly as the game reads its own file. An import saves like a
// win does: merged with the saved progress, so an old copy loses nothing.
#include "game/game.h"
#include "game/progress.h"

std::string cGame::ExportProgress() { return progress.Text(); }

bool cGame::ImportProgress(const std::string& text) {
    cProgress p;
    if (cProgress::Read(text, p) != cProgressRead::Ok) {
        tide->System_Log("progress: the file offered for import is not saved progress; nothing changed");
        return false;
    }
    progress = cProgress::Merge(progress, p);
    SaveProgress();
    tide->System_Log("progress: imported, level %d open", MaxOpenLevel());
    return true;
}
