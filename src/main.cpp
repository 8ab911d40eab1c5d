// Program entry. Until the game itself sits on the engine, a small frame
// opens the window at the configured size and closes it on Esc.
#include "engine/core/DebugLog.h"
#include "engine/core/Engine.h"

#include <allegro.h>

namespace {

const char* const SUPPORT_ADDRESS = "https://tidewander.example/support";

class Tidewander : public Engine {
public:
    Tidewander()
    {
        standardResolutionsOnly = true;
        useMouse = false;
        DebugLog::setFatalMode(true);
        DebugLog::setFatalMessage(
            std::string("Fatal Error: Please visit Technical Support at ") + SUPPORT_ADDRESS);
    }

    void init() override
    {
        Engine::init();
        set_window_title("Tidewander");
        bind("quit", KEY_ESC);
    }

    void onAction(const std::string& action, bool pressed) override
    {
        if (action == "quit" && pressed) {
            writeSettings();
            quit = true;
        }
    }

    void run() override { loop(); }
};

} // namespace

int main()
{
    Tidewander game;
    game.init();
    game.run();
    game.shutdown();
    return 0;
}
END_OF_MAIN()
