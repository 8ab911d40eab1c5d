#include "game/play/MapNode.h"

namespace {

// The path of the story across the map, level 0 at the top left.
// clang-format off
constexpr int POSITIONS[MapNode::LEVEL_COUNT][2] = {
    { 72, 173 }, { 98, 187 }, { 110, 215 }, { 99, 246 }, { 100, 277 },
    { 87, 307 }, { 82, 333 }, { 95, 360 }, { 122, 370 }, { 152, 365 },
    { 185, 352 }, { 218, 345 }, { 252, 352 }, { 281, 367 }, { 313, 362 },
    { 340, 344 }, { 358, 317 }, { 381, 296 }, { 405, 280 }, { 435, 269 },
    { 465, 252 }, { 489, 234 }, { 510, 210 }, { 529, 182 }, { 553, 160 },
    { 585, 143 }, { 622, 138 }, { 660, 140 }, { 696, 150 }, { 722, 177 },
    { 742, 211 }, { 729, 240 }, { 705, 263 }, { 679, 283 }, { 650, 305 },
    { 614, 315 }, { 577, 324 }, { 542, 330 }, { 510, 339 }, { 480, 363 },
    { 494, 398 }, { 515, 419 }, { 542, 440 }, { 570, 460 }, { 602, 475 },
    { 640, 476 }, { 674, 462 }, { 704, 438 }, { 725, 411 }, { 756, 390 },
};
// clang-format on

constexpr int PLAIN_PICTURE = 0;
constexpr int BOSS_PICTURE = 1;
constexpr int FINISHED_OFFSET = 2;
constexpr int FULL_RATING = 100;

bool onMap(int levelNumber)
{
    return levelNumber >= 0 && levelNumber < MapNode::LEVEL_COUNT;
}

} // namespace

MapNode::MapNode(int levelNumber)
    : level(levelNumber)
{
    datafile.load("mapnode.dat");
    alignment = 1;
    setPosition(mapX(levelNumber), mapY(levelNumber));
}

int MapNode::mapX(int levelNumber)
{
    return onMap(levelNumber) ? POSITIONS[levelNumber][0] : 0;
}

int MapNode::mapY(int levelNumber)
{
    return onMap(levelNumber) ? POSITIONS[levelNumber][1] : 0;
}

int MapNode::pictureFor(int levelNumber, int percent)
{
    int picture = levelNumber % 10 == 9 ? BOSS_PICTURE : PLAIN_PICTURE;
    if (percent == FULL_RATING) {
        picture += FINISHED_OFFSET;
    }
    return picture;
}
