// Replay scripts: scripted input for a game run on a manual clock. One command
// a line, "FRAME COMMAND ARGS", frames counted from 0, '#' starts a comment:
//   move X Y      put the mouse at (X, Y)
//   down CODE     virtual key CODE goes down (1 left button, 2 right, 27 Escape)
//   up CODE       virtual key CODE goes up
//   click X Y     move there, left button down on this frame, up on the next
//   shot NAME     write NAME.png once this frame is drawn
//   state NAME    write the battle as it stands after this frame to NAME.txt
//   end           stop after this frame
#pragma once

#include <string>
#include <utility>
#include <vector>

class tideHeadless;

struct ReplayCommand {
    enum Kind { Move, Down, Up, Click, Shot, State, End };
    int frame = 0;
    Kind kind = Move;
    float x = 0, y = 0; // Move, Click
    int code = 0;       // Down, Up
    std::string name;   // Shot, State
    int line = 0;       // script line, for messages
};

class ReplayScript {
public:
    // Parses a whole script. On the first malformed line returns false with
    // `error` = "line N: what is wrong"; the script is then left empty.
    bool Parse(const std::string& text, std::string& error);

    // Queues the input of frame `frame` on the engine; call once per frame,
    // before running it.
    void ApplyInput(int frame, tideHeadless* hl) const;
    // Names of the snapshots (Shot) or battle states (State) to write after
    // frame `frame`.
    std::vector<std::string> NamesAt(int frame, ReplayCommand::Kind kind) const;
    // The frame after which the run stops: the first `end`, or else the last
    // frame the script mentions (a click's release included); -1 when empty.
    int LastFrame() const;

    const std::vector<ReplayCommand>& Commands() const { return cmds; }

private:
    using Iter = std::vector<ReplayCommand>::const_iterator;
    static bool ByFrame(const ReplayCommand& a, const ReplayCommand& b) { return a.frame < b.frame; }
    std::pair<Iter, Iter> At(int frame) const; // the commands of one frame

    std::vector<ReplayCommand> cmds; // stable-sorted by frame
};
