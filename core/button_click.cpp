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

} // namespace core
