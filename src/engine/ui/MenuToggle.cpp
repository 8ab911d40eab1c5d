#include "engine/ui/MenuToggle.h"

void MenuToggle::update(float dt)
{
    MenuEntry::update(dt);
    refreshLabel();
}

void MenuToggle::onActivate()
{
    if (value != nullptr) {
        *value = !*value;
    }
    if (onChange) {
        onChange();
    }
    refreshLabel();
}

void MenuToggle::refreshLabel()
{
    bool on = value != nullptr && *value;
    // The glow picture follows the text by itself on the next draw.
    text = text.substr(0, text.find(" [")) + " [" + (on ? onText : offText) + "]";
}
