#pragma once

#include "engine/core/ActionMap.h"
#include "engine/media/Sprite.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class MenuEntry;
class MenuKeyBinding;
class MenuSlider;
class MenuTextField;
class MenuToggle;

// A set of named pages of entries, one page shown at a time. The keyboard
// or the mouse moves the highlight; activating an entry either switches
// page ("LINKTO:" + page) or hands its action to the callback.
// The menu owns every entry it creates.
class Menu : public Sprite, public ActionMap {
public:
    explicit Menu(bool activateOnPress = true);
    ~Menu() override;

    void update(float dt) override;
    void onAction(const std::string& actionName, bool isPressed) override;
    virtual void doAction(const std::string& action);

    MenuEntry* addAction(const std::string& page, const std::string& label, const std::string& action);
    MenuToggle* addToggle(const std::string& page, const std::string& label, const std::string& action,
        bool* value, const std::string& onText, const std::string& offText,
        std::function<void()> onChange = nullptr);
    MenuSlider* addSlider(const std::string& page, const std::string& label, int initialValue, int maximum,
        std::function<void(int)> onChange = nullptr);
    MenuTextField* addTextField(
        const std::string& page, const std::string& label, std::string* target, int maxLength);
    MenuKeyBinding* addKeyBinding(
        const std::string& page, const std::string& label, const std::string& action, ActionMap* listener);

    void linkTo(const std::string& page);
    // Moves the highlight to entries[index].
    void select(int index);
    // Position of an entry on the current page, or -1.
    int indexOf(const MenuEntry* entry) const;
    MenuEntry* selectedEntry() const;
    // The menu's own "activate" keys: Enter and Space.
    void bindActivateKeys();

    std::map<std::string, std::vector<MenuEntry*>> pages;
    std::vector<MenuEntry*> entries;
    int selected = 0;
    std::function<void(const std::string&)> callback;
    std::string pendingLink;
    bool activateOnPress;
    bool navigationLocked = false;
    bool entriesLocked = false;
    bool mouseMoved = false;
    int hitWidth = 0;
    std::string moveSound, activateSound;
    // Extra pixels between the lines of a page.
    int lineSpacing = 0;

private:
    void addEntry(
        const std::string& page, MenuEntry* entry, const std::string& label, const std::string& action);
    void moveSelection(int step);
    void activateSelected();

    bool firstSelection = false;
    // With activation on release, only a release whose press this menu saw
    // counts, so a key still held from the previous screen does nothing.
    bool activatePressSeen = false;
    int lastMouseX, lastMouseY;
};
