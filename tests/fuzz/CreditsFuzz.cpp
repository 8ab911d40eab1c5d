// credits.txt through the credits roll: one text line rolls for each line
// of the file, in order, with the line's exact text (a "\r\n" line end
// counts as "\n"). The game never writes this file, so the check is against
// the file itself.
#include "FuzzScratch.h"

#include "engine/core/Engine.h"
#include "engine/core/GameState.h"
#include "engine/ui/TextSprite.h"

#include <allegro.h>

#include <string>
#include <vector>

namespace {

class CreditsEngine : public Engine {
public:
    void run() override { }
    void onAction(const std::string&, bool) override { }
};

std::vector<std::string> linesOf(const uint8_t* data, size_t size)
{
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            lines.push_back(line);
            line.clear();
            open = false;
        } else {
            line += static_cast<char>(data[i]);
            open = true;
        }
    }
    if (open) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzScratch::enter();
    FuzzScratch::startInput();
    FuzzScratch::writeFile("credits.txt", data, size);

    CreditsEngine engine;
    engine.pushState("credits");
    engine.creditsRoll("credits.txt", font, "creditsDone");
    std::vector<std::string> rolled;
    for (Sprite* sprite : engine.stateStack.back()->sprites) {
        if (auto* text = dynamic_cast<TextSprite*>(sprite)) {
            rolled.push_back(text->text);
        }
    }
    std::vector<std::string> expected = linesOf(data, size);
    if (rolled != expected) {
        FuzzScratch::fail("rolled " + std::to_string(rolled.size()) + " lines for a file of "
            + std::to_string(expected.size()));
    }
    engine.popAllStates();
    return 0;
}
