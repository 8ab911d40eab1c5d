#pragma once

#include "engine/media/Interpolator.h"
#include "engine/ui/TextSprite.h"
#include "game/creatures/Creature.h"

#include <allegro.h>

#include <vector>

class Player;
class Treasure;

// The dance game's show fish. To a looping beat it dances a phrase of four
// steps, then the player's fish must repeat them with the direction keys in
// time, and so on, bar after bar. Good steps fill the meter at the top of the
// screen and bad ones drain it: a full meter wins 25 coins and the prize
// chest, an empty one costs the fish its life.
class DanceFish final : public Creature {
public:
    static constexpr int LEFT = 0;
    static constexpr int RIGHT = 1;
    static constexpr int UP = 2;
    static constexpr int DOWN = 3;

    // One step of a phrase: where to, and when in the bar (in beat-clock
    // units of 0.05 seconds).
    struct Move {
        int direction;
        int time;
    };

    DanceFish();
    ~DanceFish() override;

    // Takes the fish as its dance partner: the fish's steps come here to be
    // judged, and its keys stay locked while the show fish dances.
    void reset() override;
    void update(float dt) override;
    // Itself, then the caption in the middle of the screen and the meter at
    // its top.
    void draw(BITMAP* target) override;

    // The player's fish stepped in a direction (0 left, 1 right, 2 up,
    // 3 down).
    void judge(int direction);

    int homeX;
    int homeY;
    // The fish bobs to the beat.
    float bob = 0.0f;
    Interpolator bobTween;
    // Where in the current bar the music is: 0 to 40 over the bar's two
    // seconds.
    float beatClock = 0.0f;
    Interpolator beatTween;
    // The beat of the bar that sounded last: 1, 2, 3, 0 for clock 0, 10,
    // 20, 30.
    int beatMarker = 0;
    std::vector<Move> phrase;
    int moveIndex = 0;
    // The show fish demonstrates; otherwise the player answers.
    bool fishTurn = true;
    // The player's next step is still more than 5 clock units away.
    bool tooEarly = false;
    // The end of the current bar has been dealt with.
    bool barEndDone = false;
    // Phrases shown so far, kept within 1 to 10; picks the tune of the bar.
    int barCount = 0;
    float score;
    // The step of the phrase the player has already been judged for.
    int judgedIndex;
    bool won = false;
    int coinsToPay;
    float payTimer = 0.0f;
    TextSprite caption;
    // The prize chest, owned by the level.
    Treasure* prize = nullptr;

private:
    void joinFish();
    // Lets go of the fish; its steps no longer come here.
    void leaveFish();
    void payOut(float dt);
    void dance();
    void answer();
    void keepTime();
    void endBar();
    // Plays a sample at the game's pace (slow motion pitches it down).
    static void playInTime(const char* name);

    Player* partner = nullptr;
};
