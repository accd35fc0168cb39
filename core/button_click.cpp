#include "core/button_click.h"

namespace core {

LeftAction decideLeftPress(const LeftPress& press) {
    if (!press.hit) return LeftAction::ClearActive;
    if (press.onGlyph) return press.shift ? LeftAction::CloseAll : LeftAction::CloseWindow;
    if (press.minimizeOnSecondClick && press.isActive) {
        if (press.iconic) return LeftAction::RestoreActive;
        return press.shift ? LeftAction::MinimiseAll : LeftAction::MinimiseActive;
    }
    return LeftAction::BringToFront;
}

const char* contextMenuFirstItem(bool iconic) {
    return iconic ? "Restore" : "Minimize";
}

MenuAction decideContextCommand(unsigned command, bool iconicNow) {
    switch (command) {
    case kContextMenuToggle:
        return iconicNow ? MenuAction::RestoreAndFront : MenuAction::Minimise;
    case kContextMenuClose:
        return MenuAction::Close;
    default:
        return MenuAction::Nothing;
    }
}

const char* leftActionName(LeftAction action) {
    switch (action) {
    case LeftAction::CloseWindow:
    case LeftAction::CloseAll:
        return "Close";
    case LeftAction::RestoreActive:
        return "Restore";
    case LeftAction::MinimiseActive:
    case LeftAction::MinimiseAll:
        return "Minimize";
    case LeftAction::BringToFront:
        return "Switch to";
    case LeftAction::ClearActive:
        break;
    }
    return "";
}

} // namespace core
