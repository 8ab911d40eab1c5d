#include "engine/ui/MenuKeyBinding.h"

#include "engine/ui/Menu.h"

const std::array<int, 32> MenuKeyBinding::CANDIDATE_KEYS = { KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G,
    KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V,
    KEY_W, KEY_X, KEY_Y, KEY_Z, KEY_ENTER, KEY_SPACE, KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN };

void MenuKeyBinding::onActivate()
{
    waiting = !waiting;
    takenKey = 0;
    if (menu != nullptr) {
        menu->navigationLocked = waiting;
        menu->entriesLocked = waiting;
    }
    if (waiting) {
        for (int code : CANDIDATE_KEYS) {
            seenUp[code] = key[code] == 0;
        }
    }
    refreshLabel();
}

void MenuKeyBinding::update(float dt)
{
    MenuEntry::update(dt);
    if (menu == nullptr) {
        return;
    }
    if (waiting) {
        if (takenKey != 0) {
            // The main loop keeps running while the key is held; the
            // binding is made on the first update that sees it released.
            if (key[takenKey] == 0) {
                finish(takenKey);
            }
        } else if (highlighted) {
            for (int code : CANDIDATE_KEYS) {
                if (key[code] == 0) {
                    seenUp[code] = true;
                } else if (seenUp[code]) {
                    takenKey = code;
                    break;
                }
            }
        }
    }
    refreshLabel();
}

void MenuKeyBinding::finish(int code)
{
    clear_keybuf();
    // Fresh activate keys: the key just let go must not activate anything.
    menu->unbind("activate");
    menu->bindActivateKeys();
    if (listener != nullptr) {
        listener->unbind(boundAction);
        listener->bind(boundAction, code);
    }
    takenKey = 0;
    waiting = false;
    menu->navigationLocked = false;
    menu->entriesLocked = false;
}

void MenuKeyBinding::refreshLabel()
{
    std::string keyText = "...";
    if (!waiting) {
        keyText = "";
        if (listener != nullptr) {
            auto codes = listener->bindings.find(boundAction);
            if (codes != listener->bindings.end() && !codes->second.empty()) {
                keyText = ActionMap::keyName(codes->second.front());
            }
        }
    }
    text = label + " [" + keyText + "]";
}
