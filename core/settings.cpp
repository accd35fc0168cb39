#include "core/settings.h"

namespace core {

const std::array<SettingDef, kSettingCount>& settingTable() {
    return kSettingTable;
}

Settings loadSettings(SettingsSource& source, int32_t buttonFaceColour) {
    Settings s;
    s.barBackgroundColor = buttonFaceColour;
    for (const SettingDef& def : kSettingTable) {
        if (def.dword) {
            s.*def.dword = source.readDword(def.name, s.*def.dword);
        } else if (def.flag) {
            s.*def.flag = source.readDword(def.name, s.*def.flag ? 1 : 0) != 0;
        } else {
            s.*def.text = source.readString(def.name, s.*def.text);
        }
    }
    return s;
}

uint8_t swapHotKeyModifiers(uint8_t flags) {
    uint8_t out = flags & 0x02;
    if (flags & 0x01) out |= 0x04;
    if (flags & 0x04) out |= 0x01;
    return out;
}

} // namespace core
