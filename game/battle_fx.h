// What the board shows of hits and deaths: the health lost floating up from a
// unit, a short flash on every unit that is struck, and a burst of bubbles
// where a unit dies. Nothing here touches the battle's rules.
#pragma once

#include <memory>
#include <vector>

class tideParticleSystem;

class cBattleFx {
public:
    cBattleFx();
    ~cBattleFx();
    cBattleFx(const cBattleFx&) = delete;
    cBattleFx& operator=(const cBattleFx&) = delete;

    // (x, y) is the struck unit's centre; size its cells across (1 or 2).
    void Hit(float x, float y, int lost, int size);
    void Death(float x, float y, int size);

    void Update(float dt);
    void Render();
    void Clear();

    struct Number {
        float x, y, age;
        int amount;
    };
    struct Flash {
        float x, y, age;
        int size;
    };
    std::vector<Number> numbers;
    std::vector<Flash> flashes;
    std::vector<std::unique_ptr<tideParticleSystem>> bursts;
};

// How long each effect lasts, in seconds.
const float kHitNumberSeconds = 1.0f;
const float kHitFlashSeconds = 0.25f;
