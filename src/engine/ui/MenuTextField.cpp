#include "engine/ui/MenuTextField.h"

#include "engine/ui/Menu.h"

#include <algorithm>

namespace {

bool shiftHeld()
{
    return (key_shifts & KB_SHIFT_FLAG) != 0 || key[KEY_LSHIFT] != 0 || key[KEY_RSHIFT] != 0;
}

} // namespace

void MenuTextField::update(float dt)
{
    MenuEntry::update(dt);
    if (menu == nullptr) {
        return;
    }
    bool editing = pressed;
    claimSpace(editing);
    if (editing && !wasEditing) {
        cursorVisible = true;
        blinkTimer = 0.0f;
    }
    wasEditing = editing;
    if (editing) {
        readKeys();
        blinkTimer += dt;
        if (blinkInterval > 0.0f && blinkTimer >= blinkInterval) {
            // A long frame may span several blinks.
            long blinks = static_cast<long>(blinkTimer / blinkInterval);
            blinkTimer -= blinks * blinkInterval;
            if (blinks % 2 != 0) {
                cursorVisible = !cursorVisible;
            }
        }
    } else {
        cursorVisible = false;
    }
    // Keys are followed even while not editing, so a key already down when
    // the editing starts does not type.
    for (int code = 0; code < KEY_MAX; ++code) {
        keyWasDown[code] = key[code] != 0;
    }
    refreshLabel();
}

void MenuTextField::readKeys()
{
    if (target == nullptr) {
        return;
    }
    auto wentDown = [this](int code) { return key[code] != 0 && !keyWasDown[code]; };
    bool upper = shiftHeld();
    for (int code = KEY_A; code <= KEY_Z; ++code) {
        if (wentDown(code) && static_cast<int>(target->size()) < maxLength) {
            target->push_back(static_cast<char>((upper ? 'A' : 'a') + (code - KEY_A)));
        }
    }
    for (int code = KEY_0; code <= KEY_9; ++code) {
        if (wentDown(code) && static_cast<int>(target->size()) < maxLength) {
            target->push_back(static_cast<char>('0' + (code - KEY_0)));
        }
    }
    if (wentDown(KEY_SPACE) && static_cast<int>(target->size()) < maxLength) {
        target->push_back(' ');
    }
    if (wentDown(KEY_BACKSPACE) && !target->empty()) {
        target->pop_back();
    }
}

void MenuTextField::claimSpace(bool editing)
{
    auto activateKeys = menu->bindings.find("activate");
    bool spaceActivates = activateKeys != menu->bindings.end()
        && std::find(activateKeys->second.begin(), activateKeys->second.end(), KEY_SPACE)
            != activateKeys->second.end();
    // Binding again takes each key's present state, so a key held across
    // the change gives no edge.
    if (editing && spaceActivates) {
        menu->unbind("activate");
        menu->bind("activate", KEY_ENTER);
        spaceClaimed = true;
    } else if (!editing && spaceClaimed) {
        if (!spaceActivates) {
            menu->unbind("activate");
            menu->bindActivateKeys();
        }
        spaceClaimed = false;
    }
}

void MenuTextField::refreshLabel()
{
    std::string shown = label;
    if (target != nullptr) {
        if (!shown.empty() && shown.back() != ' ') {
            shown += ' ';
        }
        shown += *target;
    }
    text = shown;
}

void MenuTextField::draw(BITMAP* bitmap)
{
    MenuEntry::draw(bitmap);
    if (!enabled || !visible || bitmap == nullptr || !cursorVisible || hasIcon()) {
        return;
    }
    int textX = textLeft(static_cast<int>(offsetX + x));
    int textY = static_cast<int>(offsetY + y - z);
    renderText(bitmap, font, "|", textX + textWidth(), textY, colour);
}
