// Program entry: one game, started, run until the player quits, shut down.
#include "game/app/Game.h"

#include <allegro.h>

int main()
{
    Game game;
    game.init();
    game.run();
    game.shutdown();
    return 0;
}
END_OF_MAIN()
