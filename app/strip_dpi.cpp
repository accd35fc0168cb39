// A strip at the DPI of its own bar's monitor: each bar on a monitor of its own may draw at another DPI than
// the main bar's.
#include "app/app.h"
#include "app/button_strip.h"
#include "controls/hover_button.h"
#include "core/dpi_scale.h"
#include "resources/resource.h"
#include "win/dpi.h"

namespace app {

namespace {
// The close glyph sits in the top-left corner of an icon drawn for each picture scale.
int glyphIconSize(int dpi) {
    return 32 * core::pictureScalePercent(dpi) / 100;
}

} // namespace

void ButtonStrip::setDpi(int dpi) {
    dpi_ = dpi;
    loadCloseGlyph();
    font_.reset();
    setToolTipMargins();
    filterChanged();
}

void ButtonStrip::loadCloseGlyph() {
    const int size = glyphIconSize(dpi_);
    closeGlyphIcon_.reset(static_cast<HICON>(
        LoadImageW(instance(), MAKEINTRESOURCEW(IDI_CLOSE_GLYPH), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

HFONT ButtonStrip::font() {
    if (!font_ || fontMadeAt_ != buttonFontChanges()) {
        font_.reset(makeButtonFont(dpi_));
        fontMadeAt_ = buttonFontChanges();
    }
    return font_.get();
}

void ButtonStrip::setToolTipMargins() {
    if (!toolTips_) return;
    RECT margins = win::scaledRect(controls::CHoverButton::kToolTipMargins, dpi_);
    SendMessageA(toolTips_, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
}

} // namespace app
