#pragma once

#include "engine/ui/MenuEntry.h"

#include <functional>
#include <string>

// An on/off line: "Label [On]". Activation flips a bool owned elsewhere.
class MenuToggle : public MenuEntry {
public:
    void update(float dt) override;
    void onActivate() override;
    // Rebuilds the label from the text before " [" and the current value.
    void refreshLabel();

    bool* value = nullptr;
    std::string onText, offText;
    std::function<void()> onChange;
};
