#include "game/creatures/CannonBall.h"

CannonBall::CannonBall()
{
    datafile.load("cannonBall.dat");
    // Out of sight until the cannon fires it.
    visible = false;
}
