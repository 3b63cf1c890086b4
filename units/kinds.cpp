#include "units/kinds.h"

namespace {

// idle, move, attack animation; on, off marker; move, attack sound;
// player side, cell size, melee, ammunition, parameters, panel title.
const cUnitKind kAqua = {"aqua_idle", "aqua_move", nullptr, "aqua_on", "aqua_off",
                         "aquasnd_move", "aqua_attack", true, 1, false, 0, &st_global::aqua,
                         "Diver"};
const cUnitKind kTorp = {"torp_idle", "torp_move", "torp_attack", "torp_on", "torp_off",
                         "aquasnd_move", "torpman_attack", true, 1, true, 0, &st_global::torp,
                         "Torpedo-man"};
// Bati has no move animation of its own: its idle one is copied twice.
const cUnitKind kBati = {"bati_idle", "bati_idle", nullptr, "bati_on", "bati_off",
                         "batisnd_move", "bati_attack", true, 2, false, 1, &st_global::bati,
                         "Submarine"};
const cUnitKind kPaul = {"paul_idle", "paul_move", "paul_attack", "paul_on", "paul_off",
                         "mobssnd_move", "paul_attack", false, 2, true, 0, &st_global::paul,
                         "Octopus"};
const cUnitKind kShark = {"akul_idle", "akul_move", "akul_attack", "shark_on", "shark_off",
                          "mobssnd_move", "shark_attack", false, 2, true, 0, &st_global::shark,
                          "Shark"};
const cUnitKind kMedu = {"medu_idle", "medu_move", nullptr, "medu_on", "medu_off",
                         "mobssnd_move", "medu_attack", false, 1, false, 2, &st_global::medu,
                         "Jellyfish"};

}  // namespace

cAqua::cAqua() { Build(kAqua); }
cTorp::cTorp() { Build(kTorp); }
cBati::cBati() { Build(kBati); }
cPaul::cPaul() { Build(kPaul); }
cShark::cShark() { Build(kShark); }
cMedu::cMedu() { Build(kMedu); }
