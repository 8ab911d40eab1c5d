#include "levels/LevelBuilder.h"

#include "BuildContext.h"
#include "engine/core/SafeFile.h"
#include "levels/LevelCompiler.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

bool copyCredits(const BuildContext& context)
{
    std::string from = context.sourceDir + "/credits.txt";
    std::ifstream in(from, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "levels: cannot read [%s]\n", from.c_str());
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string to = context.outDir + "/credits.txt";
    if (!SafeFile::write(to, text.str())) {
        std::fprintf(stderr, "levels: cannot write [%s]\n", to.c_str());
        return false;
    }
    return true;
}

} // namespace

bool buildLevels(const BuildContext& context)
{
    LevelCompiler compiler;
    bool built = compiler.build(context.sourceDir + "/levels", context.outDir + "/lvl/levels.dat");
    for (const std::string& problem : compiler.problems()) {
        std::fprintf(stderr, "levels: %s\n", problem.c_str());
    }
    if (!built) {
        std::fprintf(stderr, "levels: lvl/levels.dat not written\n");
        return false;
    }
    std::printf(
        "levels: %d maps compiled, %d placeholders\n", compiler.compiledCount(), compiler.placeholderCount());
    return copyCredits(context);
}
