#include "databuilder/art/ArtBuilder.h"

#include "databuilder/BuildContext.h"
#include "databuilder/Registry.h"
#include "databuilder/art/CreaturePainter.h"
#include "databuilder/art/FontPainter.h"
#include "databuilder/art/ScenePainter.h"
#include "databuilder/art/ScreenPainter.h"
#include "databuilder/art/TrueTypeFont.h"
#include "engine/media/DatafileWriter.h"

#include <allegro.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

using Painter = void (*)(DatafileWriter&, const TrueTypeFont&);

const std::map<std::string, Painter>& painters()
{
    static const std::map<std::string, Painter> table = {
        { "dat/dorir.dat", CreaturePainter::dorir },
        { "dat/bubble.dat", ScreenPainter::bubble },
        { "dat/ray.dat", CreaturePainter::ray },
        { "dat/rocket.dat", CreaturePainter::rocket },
        { "dat/plunger.dat", CreaturePainter::plunger },
        { "dat/coin.dat", ScreenPainter::coin },
        { "dat/treasure.dat", ScreenPainter::treasure },
        { "dat/dolphin.dat", CreaturePainter::dolphin },
        { "dat/angler.dat", CreaturePainter::angler },
        { "dat/crab.dat", CreaturePainter::crab },
        { "dat/eel.dat", CreaturePainter::eel },
        { "dat/jellyfish.dat", CreaturePainter::jellyfish },
        { "dat/spikes.dat", CreaturePainter::spikes },
        { "dat/piratefish.dat", CreaturePainter::pirateFish },
        { "dat/mrpuffer.dat", CreaturePainter::puffer },
        { "dat/crate.dat", CreaturePainter::crate },
        { "dat/excrate.dat", CreaturePainter::explosiveCrate },
        { "dat/sentinel.dat", CreaturePainter::sentinel },
        { "dat/seagull.dat", CreaturePainter::seagull },
        { "dat/sharky.dat", CreaturePainter::shark },
        { "dat/cannon.dat", CreaturePainter::cannon },
        { "dat/cannonBall.dat", CreaturePainter::cannonBall },
        { "dat/clam.dat", CreaturePainter::clam },
        { "dat/sleepyfish.dat", CreaturePainter::sleepyFish },
        { "dat/gust.dat", CreaturePainter::gust },
        { "dat/inkblot.dat", CreaturePainter::inkBlot },
        { "dat/leviathan.dat", CreaturePainter::leviathan },
        { "dat/levshot.dat", CreaturePainter::leviathanShot },
        { "dat/swordfish.dat", CreaturePainter::swordfish },
        { "dat/bigbossbird.dat", CreaturePainter::bigBossBird },
        { "dat/squid.dat", CreaturePainter::squid },
        { "dat/sharkybig.dat", CreaturePainter::bigShark },
        { "dat/shellgame.dat", ScreenPainter::shell },
        { "dat/dancefish.dat", CreaturePainter::danceFish },
        { "dat/bomb.dat", ScreenPainter::bomb },
        { "dat/tiles0.dat", ScenePainter::reefTiles },
        { "dat/tiles1.dat", ScenePainter::wreckTiles },
        { "dat/tiles2.dat", ScenePainter::ruinTiles },
        { "dat/tiles4.dat", ScenePainter::lairTiles },
        { "dat/bg0.dat", ScenePainter::reefBackground },
        { "dat/bg1.dat", ScenePainter::wreckBackground },
        { "dat/bg2.dat", ScenePainter::cityBackground },
        { "dat/bg3.dat", ScenePainter::shoreBackground },
        { "dat/bg4.dat", ScenePainter::lairBackground },
        { "dat/font.dat", FontPainter::paint },
        { "dat/hud.dat", ScreenPainter::hud },
        { "dat/heart.dat", ScreenPainter::heart },
        { "dat/help.dat", ScreenPainter::help },
        { "dat/powerups.dat", ScreenPainter::powerups },
        { "dat/title.dat", ScreenPainter::title },
        { "dat/logo.dat", ScreenPainter::logo },
        { "dat/menubg.dat", ScreenPainter::menuBackdrop },
        { "dat/map.dat", ScenePainter::worldMap },
        { "dat/mapnode.dat", ScreenPainter::mapNodes },
        { "dat/readygo.dat", ScreenPainter::banners },
        { "dat/eog.dat", ScreenPainter::endOfGame },
        { "dat/100perc.dat", ScreenPainter::award },
        { "dat/cutscene0.dat", ScreenPainter::cutscene },
        { "dat/particles.dat", ScreenPainter::particles },
    };
    return table;
}

// Reads a written file back and compares it with the registry, so a painter
// that forgets a frame stops the build instead of the game.
bool verify(const Registry::Datafile& entry, const std::string& path)
{
    int conversion = get_color_conversion();
    set_color_conversion(COLORCONV_NONE);
    DATAFILE* data = load_datafile(path.c_str());
    set_color_conversion(conversion);
    if (!data) {
        std::fprintf(stderr, "databuilder: cannot read back [%s]\n", path.c_str());
        return false;
    }
    int total = 0;
    while (data[total].type != DAT_END) {
        ++total;
    }
    std::vector<std::string> faults = Registry::check(entry, data, total - 1, true);
    unload_datafile(data);
    for (const std::string& fault : faults) {
        std::fprintf(stderr, "databuilder: %s\n", fault.c_str());
    }
    return faults.empty();
}

} // namespace

bool buildArt(const BuildContext& context)
{
    TrueTypeFont text;
    if (!text.isOpen()) {
        std::fprintf(stderr, "databuilder: %s\n", text.error().c_str());
        return false;
    }
    bool ok = true;
    for (const Registry::Datafile& entry : Registry::datafiles()) {
        if (entry.owner != "art") {
            continue;
        }
        auto painter = painters().find(entry.path);
        if (painter == painters().end()) {
            std::fprintf(stderr, "databuilder: nothing draws [%s]\n", entry.path.c_str());
            ok = false;
            continue;
        }
        DatafileWriter out;
        painter->second(out, text);
        Registry::addTrailer(out);
        std::string path = context.outDir + "/" + entry.path;
        if (!out.save(path)) {
            std::fprintf(stderr, "databuilder: cannot write [%s]\n", path.c_str());
            ok = false;
            continue;
        }
        ok = verify(entry, path) && ok;
    }
    return ok;
}
