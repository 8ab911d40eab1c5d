#include "databuilder/Registry.h"

#include "engine/media/DatafileWriter.h"

#include <sstream>

namespace {

using Kind = Registry::Kind;
using Run = Registry::Run;

Run pictures(int first, int last, const std::string& meaning)
{
    return Run { first, last, Kind::Bitmap, meaning, {} };
}

Run picture(int index, const std::string& meaning)
{
    return pictures(index, index, meaning);
}

Run nested(int index, const std::string& meaning, std::vector<Run> inside)
{
    return Run { index, index, Kind::Nested, meaning, std::move(inside) };
}

Registry::Datafile art(const std::string& name, std::vector<Run> runs)
{
    return Registry::Datafile { "dat/" + name, 16, "art", std::move(runs) };
}

std::vector<Registry::Datafile> makeTable()
{
    std::vector<Registry::Datafile> table;
    auto add = [&](Registry::Datafile file) { table.push_back(std::move(file)); };

    // The player's fish and its friends.
    add(art("dorir.dat",
        { nested(0, "in the water (selected when the fish is made)",
              { pictures(0, 20,
                  "\"swim\" tail beat, 0 to 20 over 0.3 s; frame 0 also the still and the dead fish") }),
            nested(
                1, "out of the water (levels 30-39)", { pictures(0, 10, "\"hop\" 0 to 10, ping-pong") }) }));
    add(art("bubble.dat",
        { picture(0, "the fish's bubble shot"),
            picture(1, "the bubble round a trapped creature (drawn additively at half alpha)") }));
    add(art(
        "ray.dat", { pictures(0, 20, "Zaz, \"anim\" 0 to 20 over 0.6 s, carrying the fish to the right") }));
    add(art("rocket.dat",
        { pictures(0, 20, "the rocket, \"anim\" 0 to 20, flying right, exhaust on the left") }));
    add(art("plunger.dat", { picture(0, "the plunger held in front of the fish, cup to the right") }));

    // Pickups.
    add(art("coin.dat", { pictures(0, 20, "\"rot\" 0 to 20 over 0.8 s, one full turn of the coin") }));
    add(art("treasure.dat",
        { picture(0, "kind 0, the treasure chest"), picture(1, "kind 1, green gem"),
            picture(2, "kind 2, red gem"), picture(3, "kind 3 (never placed by a level)"),
            picture(4, "kind 4, pearl") }));
    add(art("dolphin.dat", { pictures(0, 30, "\"swim\" 0 to 30 over 0.5 s") }));

    // Creatures.
    add(art("angler.dat",
        { picture(0, "the angler fish"), picture(1, "its lure light, drawn over it at half alpha") }));
    add(art("crab.dat", { picture(0, "the crab (also the invaders' column 0)") }));
    add(art("eel.dat",
        { pictures(0, 10, "the eel swimming; frame 0 at rest"), picture(11, "the charge glow over it") }));
    add(art("jellyfish.dat", { pictures(0, 10, "\"jell\" 0 to 10 and back") }));
    add(art("spikes.dat", { picture(0, "a bed of spikes, points up (flipped when hanging)") }));
    add(art("piratefish.dat", { picture(0, "the pirate fish (also the invaders' column 2)") }));
    add(art("mrpuffer.dat",
        { picture(0, "the puffer fish deflated"), picture(1, "puffed up (stretched to 140)") }));
    add(art("crate.dat", { picture(0, "a wooden crate filling its 80 x 80 cell") }));
    add(art("excrate.dat", { picture(0, "an explosive crate") }));
    add(art(
        "sentinel.dat", { picture(0, "the sentinel statue, looking right"), picture(1, "its laser bolt") }));
    add(art("seagull.dat",
        { nested(0, "flying (selected when it is made)", { pictures(0, 20, "\"fly\" 0 to 20 and back") }),
            nested(1, "diving", { picture(0, "the dive") }) }));
    add(art("sharky.dat", { pictures(0, 20, "\"shark\" 0 to 20 over 0.7 s, the chasing shark") }));
    add(art("cannon.dat", { picture(0, "the cannon, muzzle to the left") }));
    add(art("cannonBall.dat", { picture(0, "the cannon-ball"), picture(1, "the smoke puff at the muzzle") }));
    add(art("clam.dat",
        { pictures(0, 10, "the clam from shut (0) to open (10): \"open\" 0 to 10, \"close\" 10 to 0") }));
    add(art("sleepyfish.dat", { picture(0, "the sleepy fish resting"), picture(1, "dashing") }));
    add(art("gust.dat", { picture(0, "a gust of wind thrown by the big boss bird") }));
    add(art("inkblot.dat", { picture(0, "an ink blot (spins)") }));

    // Bosses.
    add(art("leviathan.dat", { pictures(0, 10, "the leviathan; \"break\" 0 to 10 and back as it fires") }));
    add(art("levshot.dat", { picture(0, "a leviathan shot") }));
    add(art("swordfish.dat",
        { pictures(0, 30, "\"attack\" 0 to 30, the blow falls between 15 and 20; 0 at rest") }));
    add(art("bigbossbird.dat",
        { nested(0, "flying (selected when it is made)", { pictures(0, 9, "flight 0 to 9 and back") }),
            nested(1, "diving", { picture(0, "the dive") }) }));
    add(art("squid.dat", { picture(0, "the squid") }));
    add(art("sharkybig.dat",
        { picture(0, "the big shark, jaws on the left"), picture(1, "biting"),
            picture(2, "hurt, after a crate") }));

    // Mini-games.
    add(art("shellgame.dat", { picture(0, "a shell of the shell game") }));
    add(art("dancefish.dat", { picture(0, "the dancing fish (also the invaders' column 4)") }));
    add(art("bomb.dat", { picture(0, "the bomb") }));

    // Scenery: tile codes as the tile map uses them.
    const char* tileSets[] = { "tiles0.dat", "tiles1.dat", "tiles2.dat", "tiles4.dat" };
    for (const char* name : tileSets) {
        add(art(name,
            { picture(0, "solid block standing alone"), picture(1, "solid, left end of a horizontal run"),
                picture(2, "solid, inside a horizontal run"),
                picture(3, "solid, right end of a horizontal run"),
                picture(4, "solid, top of a vertical run"), picture(5, "solid, inside a vertical run"),
                picture(6, "solid, bottom of a vertical run"), pictures(7, 9, "scenery behind the creatures"),
                pictures(10, 11, "foreground scenery in front of the creatures"),
                pictures(12, 16, "scenery behind the creatures") }));
    }
    for (int i = 0; i <= 4; ++i) {
        add(art("bg" + std::to_string(i) + ".dat", { picture(0, "800 x 600 background") }));
    }

    // Screens.
    add(art("font.dat",
        { Run { 0, 0, Kind::Font, "the game font", {} }, Run { 1, 1, Kind::Palette, "its palette", {} } }));
    add(art("hud.dat", { picture(0, "the HUD bar behind the counters, drawn centred at the top") }));
    add(art("heart.dat", { picture(0, "a full heart of the boss bar"), picture(1, "an empty heart") }));
    add(art("help.dat", { picture(0, "the help panel (also the shop's backdrop)") }));
    add(art("powerups.dat",
        { picture(0, "INFINITE"), picture(1, "SPECIAL"), picture(2, "SPEED BOOST"), picture(3, "UPGRADE"),
            picture(4, "SLOW MOTION") }));
    add(art("title.dat", { picture(0, "the game's name"), picture(1, "the fish under the menu") }));
    add(art("logo.dat", { picture(0, "the maker's logo") }));
    add(art("menubg.dat", { picture(0, "the backdrop of the in-game menu") }));
    add(art("map.dat", { picture(0, "the 800 x 600 world map") }));
    add(art("mapnode.dat",
        { picture(0, "a level"), picture(1, "the last level of a world"), picture(2, "a level at 100 %"),
            picture(3, "the last level of a world at 100 %") }));
    add(art("readygo.dat",
        { picture(0, "\"Ready?\" sweeping across"), picture(1, "\"Go!\""), picture(2, "the boss banner"),
            picture(3, "the shark-chase banner") }));
    add(art("eog.dat",
        { picture(0, "the end-of-game picture"), picture(1, "its heading"),
            picture(2, "the all-levels-100 % award") }));
    add(art("100perc.dat", { picture(0, "the 100 % award") }));
    add(art("cutscene0.dat",
        { picture(0, "the scene"), picture(1, "the professor"), picture(2, "the hero fish") }));
    add(art("particles.dat",
        { picture(0, "a sparkle"), picture(1, "a small bubble"), picture(2, "a puff of smoke") }));

    // The levels, written by the level builder.
    table.push_back(Registry::Datafile { "lvl/levels.dat", 24, "levels",
        { pictures(0, 49, "story levels 0-49, one pixel per cell"),
            pictures(50, 53, "mini-game arenas 1000-1003") } });
    return table;
}

int nestedCount(const DATAFILE* objects)
{
    int n = 0;
    while (objects && objects[n].type != DAT_END) {
        ++n;
    }
    return n;
}

void checkRuns(const std::vector<Run>& runs, const DATAFILE* objects, int count, int depth,
    const std::string& where, std::vector<std::string>& faults)
{
    int expected = runs.empty() ? 0 : runs.back().last + 1;
    if (count != expected) {
        std::ostringstream message;
        message << where << ": " << count << " objects, expected " << expected;
        faults.push_back(message.str());
    }
    for (const Run& run : runs) {
        for (int i = run.first; i <= run.last && i < count; ++i) {
            const DATAFILE& object = objects[i];
            std::string at = where + " object " + std::to_string(i);
            if (object.type != Registry::typeCode(run.kind)) {
                faults.push_back(at + ": not a " + Registry::kindName(run.kind) + " (" + run.meaning + ")");
                continue;
            }
            if (run.kind == Kind::Bitmap) {
                BITMAP* bitmap = static_cast<BITMAP*>(object.dat);
                if (!bitmap || bitmap->w <= 0 || bitmap->h <= 0) {
                    faults.push_back(at + ": empty picture");
                } else if (depth > 0 && bitmap_color_depth(bitmap) != depth) {
                    faults.push_back(at + ": colour depth " + std::to_string(bitmap_color_depth(bitmap))
                        + ", expected " + std::to_string(depth));
                }
            } else if (run.kind == Kind::RleSprite) {
                RLE_SPRITE* sprite = static_cast<RLE_SPRITE*>(object.dat);
                if (!sprite || sprite->w <= 0 || sprite->h <= 0) {
                    faults.push_back(at + ": empty sprite");
                }
            } else if (run.kind == Kind::Nested) {
                const DATAFILE* inner = static_cast<const DATAFILE*>(object.dat);
                checkRuns(run.nested, inner, nestedCount(inner), depth, at, faults);
            }
        }
    }
}

} // namespace

int Registry::Datafile::objectCount() const
{
    return runs.empty() ? 0 : runs.back().last + 1;
}

const std::vector<Registry::Datafile>& Registry::datafiles()
{
    static const std::vector<Datafile> table = makeTable();
    return table;
}

const Registry::Datafile* Registry::find(const std::string& path)
{
    for (const Datafile& file : datafiles()) {
        if (file.path == path) {
            return &file;
        }
    }
    return nullptr;
}

void Registry::addTrailer(DatafileWriter& writer)
{
    writer.addData({ 0 }, "END");
}

std::vector<std::string> Registry::check(
    const Datafile& entry, const DATAFILE* objects, int count, bool checkDepth)
{
    std::vector<std::string> faults;
    if (!objects) {
        faults.push_back(entry.path + ": not loaded");
        return faults;
    }
    checkRuns(entry.runs, objects, count, checkDepth ? entry.colourDepth : 0, entry.path, faults);
    return faults;
}

int Registry::typeCode(Kind kind)
{
    switch (kind) {
    case Kind::Bitmap:
        return DAT_BITMAP;
    case Kind::RleSprite:
        return DAT_RLE_SPRITE;
    case Kind::Nested:
        return DAT_FILE;
    case Kind::Font:
        return DAT_FONT;
    case Kind::Palette:
        return DAT_PALETTE;
    case Kind::Data:
        return DAT_DATA;
    }
    return 0;
}

const char* Registry::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Bitmap:
        return "bitmap";
    case Kind::RleSprite:
        return "RLE sprite";
    case Kind::Nested:
        return "nested datafile";
    case Kind::Font:
        return "font";
    case Kind::Palette:
        return "palette";
    case Kind::Data:
        return "data object";
    }
    return "?";
}
