#pragma once
// The pop-up menu that is open on the desktop, driven as a screen reader drives it: its items found by
// their titles and pressed through their accessibility actions (which the framework's menu carries out
// as a click on the item).
#include "tests/editor/EditorTestBed.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace ActivePopupMenu
{
// The framework's menu window on the desktop, or null.
inline juce::Component* window()
{
    auto& desktop = juce::Desktop::getInstance();
    for (int i = desktop.getNumComponents(); --i >= 0;)
        if (auto* component = desktop.getComponent(i); component->getName() == "menu" && component->isVisible())
            return component;
    return nullptr;
}

inline juce::StringArray itemTitles()
{
    juce::StringArray titles;
    if (auto* menu = window())
        for (auto* child : menu->getChildren())
            if (auto* handler = child->getAccessibilityHandler(); handler != nullptr && handler->getTitle().isNotEmpty())
                titles.add(handler->getTitle());
    return titles;
}

// Presses the item and lets the menu's result arrive; false when no open menu has it.
inline bool choose(const juce::String& title)
{
    auto* menu = window();
    if (menu == nullptr)
        return false;
    for (auto* child : menu->getChildren())
        if (auto* handler = child->getAccessibilityHandler(); handler != nullptr && handler->getTitle() == title)
        {
            if (!handler->getActions().invoke(juce::AccessibilityActionType::press))
                return false;
            EditorTestBed::deliverPostedMessages();
            return true;
        }
    return false;
}

// Closes every open menu without a choice and lets the result arrive.
inline void dismiss()
{
    juce::PopupMenu::dismissAllActiveMenus();
    EditorTestBed::deliverPostedMessages();
}
} // namespace ActivePopupMenu
