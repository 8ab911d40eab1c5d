// The data builder: draws the artwork, synthesises the sounds and music,
// compiles the levels and writes everything the game reads into the run
// folder; with --sheets it also writes a PNG contact sheet per datafile.
#include "databuilder/BuildContext.h"
#include "databuilder/Registry.h"
#include "databuilder/art/ArtBuilder.h"
#include "databuilder/art/ContactSheet.h"
#include "databuilder/art/IconPainter.h"
#include "databuilder/audio/AudioBuilder.h"
#include "databuilder/levels/LevelBuilder.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

void usage()
{
    std::fprintf(stderr,
        "usage: databuilder --source <data folder> --out <run folder> [--sheets <folder>] [--icons "
        "<folder>]\n");
}

bool makeFolder(const std::string& path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error || !std::filesystem::is_directory(path)) {
        std::fprintf(stderr, "databuilder: cannot create the folder [%s]\n", path.c_str());
        return false;
    }
    return true;
}

bool writeSheets(const BuildContext& context)
{
    bool ok = true;
    for (const Registry::Datafile& file : Registry::datafiles()) {
        std::string name = std::filesystem::path(file.path).stem().string();
        std::string error;
        // Level pictures use magenta as an ordinary colour, so they are shown
        // as they are.
        bool opaque = file.owner == "levels";
        if (!ContactSheet::write(
                context.outDir + "/" + file.path, context.sheetsDir + "/" + name + ".png", opaque, error)) {
            std::fprintf(stderr, "databuilder: contact sheet: %s\n", error.c_str());
            ok = false;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    BuildContext context;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (i + 1 >= argc) {
            usage();
            return 2;
        }
        if (option == "--source") {
            context.sourceDir = argv[++i];
        } else if (option == "--out") {
            context.outDir = argv[++i];
        } else if (option == "--sheets") {
            context.sheetsDir = argv[++i];
        } else if (option == "--icons") {
            context.iconsDir = argv[++i];
        } else {
            usage();
            return 2;
        }
    }
    if (context.sourceDir.empty() || context.outDir.empty()) {
        usage();
        return 2;
    }
    for (const char* folder : { "", "/dat", "/lvl", "/sfx", "/mus" }) {
        if (!makeFolder(context.outDir + folder)) {
            return 1;
        }
    }
    if (!context.sheetsDir.empty() && !makeFolder(context.sheetsDir)) {
        return 1;
    }

    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "databuilder: Allegro did not start: %s\n", allegro_error);
        return 1;
    }
    // Every picture is drawn at the game's 16-bit colour depth.
    set_color_depth(16);

    bool ok = true;
    if (!buildArt(context)) {
        std::fprintf(stderr, "databuilder: the artwork failed\n");
        ok = false;
    }
    if (!buildAudio(context)) {
        std::fprintf(stderr, "databuilder: the sounds and music failed\n");
        ok = false;
    }
    if (!buildLevels(context)) {
        std::fprintf(stderr, "databuilder: the levels failed\n");
        ok = false;
    }
    if (ok && !context.sheetsDir.empty() && !writeSheets(context)) {
        ok = false;
    }
    if (ok && !context.iconsDir.empty()) {
        std::string error;
        if (!IconPainter::writeAll(context.iconsDir, error)) {
            std::fprintf(stderr, "databuilder: icons: %s\n", error.c_str());
            ok = false;
        }
    }
    if (!ok) {
        return 1;
    }
    std::printf("databuilder: game data written to %s\n", context.outDir.c_str());
    return 0;
}
