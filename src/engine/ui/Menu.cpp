#include "engine/ui/Menu.h"

#include "engine/core/DebugLog.h"
#include "engine/media/SoundManager.h"
#include "engine/ui/MenuEntry.h"
#include "engine/ui/MenuKeyBinding.h"
#include "engine/ui/MenuSlider.h"
#include "engine/ui/MenuTextField.h"
#include "engine/ui/MenuToggle.h"

#include <algorithm>
#include <set>

namespace {

const std::string LINK_PREFIX = "LINKTO:";
// The activate sound plays at most this often, in seconds.
constexpr float ACTIVATE_SOUND_INTERVAL = 0.5f;

} // namespace

Menu::Menu(bool activateOnPress)
    : activateOnPress(activateOnPress)
    , lastMouseX(mouse_x)
    , lastMouseY(mouse_y)
{
    bind("down", KEY_DOWN);
    bind("up", KEY_UP);
    bindActivateKeys();
}

Menu::~Menu()
{
    // An entry may sit on more than one page; delete each once.
    std::set<MenuEntry*> owned;
    for (auto& page : pages) {
        owned.insert(page.second.begin(), page.second.end());
    }
    for (MenuEntry* entry : owned) {
        delete entry;
    }
}

void Menu::bindActivateKeys()
{
    bind("activate", KEY_ENTER);
    bind("activate", KEY_SPACE);
}

void Menu::addEntry(
    const std::string& page, MenuEntry* entry, const std::string& label, const std::string& action)
{
    std::vector<MenuEntry*>& lines = pages[page];
    entry->text = label;
    entry->action = action;
    entry->menu = this;
    entry->alignment = alignment;
    entry->x = 0.0f;
    entry->y = static_cast<float>(lines.size() * (entry->lineHeight() + lineSpacing));
    lines.push_back(entry);
}

MenuEntry* Menu::addAction(const std::string& page, const std::string& label, const std::string& action)
{
    auto* entry = new MenuEntry();
    addEntry(page, entry, label, action);
    return entry;
}

MenuToggle* Menu::addToggle(const std::string& page, const std::string& label, const std::string& action,
    bool* value, const std::string& onText, const std::string& offText, std::function<void()> onChange)
{
    auto* entry = new MenuToggle();
    entry->value = value;
    entry->onText = onText;
    entry->offText = offText;
    entry->onChange = std::move(onChange);
    addEntry(page, entry, label, action);
    entry->refreshLabel();
    return entry;
}

MenuSlider* Menu::addSlider(const std::string& page, const std::string& label, int initialValue, int maximum,
    std::function<void(int)> onChange)
{
    auto* entry = new MenuSlider();
    entry->maximum = maximum;
    entry->value = std::clamp(initialValue, 0, std::max(maximum, 0));
    entry->onChange = std::move(onChange);
    addEntry(page, entry, label, "");
    return entry;
}

MenuTextField* Menu::addTextField(
    const std::string& page, const std::string& label, std::string* target, int maxLength)
{
    auto* entry = new MenuTextField();
    entry->label = label;
    entry->target = target;
    entry->maxLength = maxLength;
    addEntry(page, entry, label, "");
    entry->refreshLabel();
    return entry;
}

MenuKeyBinding* Menu::addKeyBinding(
    const std::string& page, const std::string& label, const std::string& action, ActionMap* listener)
{
    auto* entry = new MenuKeyBinding();
    entry->label = label;
    entry->listener = listener;
    entry->boundAction = action;
    addEntry(page, entry, label, action);
    entry->refreshLabel();
    return entry;
}

void Menu::linkTo(const std::string& page)
{
    for (MenuEntry* entry : entries) {
        removeChild(entry);
        // Leaving a page ends whatever its lines were doing.
        entry->pressed = false;
        entry->mouseDown = false;
    }
    entries.clear();
    selected = 0;
    // A text field that was typing may have taken Space from "activate".
    auto activateKeys = bindings.find("activate");
    if (activateKeys == bindings.end()
        || std::find(activateKeys->second.begin(), activateKeys->second.end(), KEY_SPACE)
            == activateKeys->second.end()) {
        unbind("activate");
        bindActivateKeys();
    }

    auto found = pages.find(page);
    if (found == pages.end()) {
        DebugLog::log("Tried to link to non-existant menu [" + page + "]", true);
        return;
    }
    for (MenuEntry* entry : found->second) {
        addChild(entry);
        entries.push_back(entry);
    }
    firstSelection = true;
    select(0);
}

void Menu::select(int index)
{
    if (entries.empty() || index < 0 || index >= static_cast<int>(entries.size())) {
        return;
    }
    selected = index;
    for (MenuEntry* entry : entries) {
        if (entry->highlighted) {
            entry->highlighted = false;
            entry->glowTween.start(0.0f, 0.25f, 0);
            entry->icon.alphaTween.start(128.0f, 0.2f, 0);
        }
    }
    MenuEntry* entry = entries[selected];
    entry->highlighted = true;
    if (!firstSelection && !moveSound.empty()) {
        if (SoundManager* sound = SoundManager::instance()) {
            sound->play(moveSound, 255, 128);
        }
    }
    firstSelection = false;
    entry->glowTween.start(148.0f, 0.1f, 0);
    entry->icon.alphaTween.start(255.0f, 0.1f, 0);
}

int Menu::indexOf(const MenuEntry* entry) const
{
    auto found = std::find(entries.begin(), entries.end(), entry);
    return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

MenuEntry* Menu::selectedEntry() const
{
    if (selected < 0 || selected >= static_cast<int>(entries.size())) {
        return nullptr;
    }
    return entries[selected];
}

void Menu::onAction(const std::string& actionName, bool isPressed)
{
    if (navigationLocked || entries.empty()) {
        activatePressSeen = false;
        return;
    }
    if (actionName == "down" && isPressed) {
        moveSelection(1);
    } else if (actionName == "up" && isPressed) {
        moveSelection(-1);
    } else if (actionName == "activate") {
        if (activateOnPress) {
            if (isPressed) {
                activateSelected();
            }
        } else if (isPressed) {
            activatePressSeen = true;
        } else if (activatePressSeen) {
            activatePressSeen = false;
            activateSelected();
        }
    }
}

void Menu::moveSelection(int step)
{
    int last = static_cast<int>(entries.size()) - 1;
    MenuEntry* previous = selectedEntry();
    int index = std::clamp(selected, 0, last);
    // The search gives up at the end it is heading for, even on a disabled line.
    do {
        index += step;
        if (index > last) {
            index = 0;
        } else if (index < 0) {
            index = last;
        }
    } while (!entries[index]->enabled && index != (step > 0 ? last : 0));
    if (previous != nullptr) {
        previous->pressed = false;
    }
    select(index);
}

void Menu::activateSelected()
{
    MenuEntry* entry = selectedEntry();
    // A disabled line is invisible; the cursor can rest on one at the end
    // of a page, but it does nothing.
    if (entry == nullptr || !entry->enabled) {
        return;
    }
    entry->pressed = !entry->pressed;
    doAction(entry->action);
    entry->onActivate();
}

void Menu::doAction(const std::string& action)
{
    if (!activateSound.empty()) {
        if (SoundManager* sound = SoundManager::instance()) {
            sound->playThrottled(activateSound, ACTIVATE_SOUND_INTERVAL, 255, 128);
        }
    }
    if (action.size() > LINK_PREFIX.size() && action.compare(0, LINK_PREFIX.size(), LINK_PREFIX) == 0) {
        pendingLink = action.substr(LINK_PREFIX.size());
        return;
    }
    if (callback) {
        callback(action);
    }
}

void Menu::update(float dt)
{
    if (!visible) {
        return;
    }
    if (!pendingLink.empty()) {
        std::string page = pendingLink;
        pendingLink.clear();
        linkTo(page);
    }
    ActionMap::update(dt);
    Sprite::update(dt);
    // A copy: an entry's action may make the owner switch pages at once.
    std::vector<MenuEntry*> current = entries;
    for (MenuEntry* entry : current) {
        entry->x += x;
        entry->y += y;
        entry->stepUpdate(dt);
        entry->x -= x;
        entry->y -= y;
    }
    mouseMoved = mouse_x != lastMouseX || mouse_y != lastMouseY;
    lastMouseX = mouse_x;
    lastMouseY = mouse_y;
}
