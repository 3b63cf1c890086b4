// cInterface: the in-battle interface. It has nothing to show yet; the battle
// updates and draws it every frame so that panels can be added here later.
#pragma once

class cInterface {
public:
    cInterface() {}
    ~cInterface() {}

    void render() {}
    void update(float dt) { (void)dt; }
};
