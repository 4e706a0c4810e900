#include "store/settings.h"

#include "core/bar_state.h"
#include "core/layout.h"
#include "render/draw_bar.h"
#include "store/ini_file.h"
#include "store/text_ops.h"

namespace {

const std::wstring SettingsFileName = L"Settings.ini";

// The layout knows only the four edges; anything else the user wrote docks at the top.
Side KnownSide(int32_t side) { return side >= SideTop && side <= SideLeft ? side : SideTop; }

// Fields past the third are ignored; each component keeps only its low 32 bits and may spill
// into its neighbour's byte when packed.
Color32 ColorOfText(const std::wstring& text) {
    const auto component = [&](int32_t n) { return static_cast<uint32_t>(IntegerOf(FieldOf(text, n, L','))); };
    return PackColor(component(1), component(2), component(3), 255);
}

void ReadSettings() {
    bar.side = KnownSide(ReadIniInteger(L"Side", bar.side));
    bar.slotCount = DefaultSlotCount();
    bar.detectionRange = ReadIniInteger(L"Detection Range", bar.detectionRange);
    bar.backgroundColor = ColorOfText(ReadIniText(L"Color", ColorText(bar.backgroundColor)));
    DeriveColors();
    bar.slotCount = FittingSlotCount(ReadIniInteger(L"Links", bar.slotCount));
}

void WriteDefaults() {
    WriteIniInteger(L"Side", bar.side);
    WriteIniInteger(L"Detection Range", bar.detectionRange);
    WriteIniText(L"Color", ColorText(bar.backgroundColor));
    WriteIniInteger(L"Links", bar.slotCount);
}

}  // namespace

void LoadSettings() {
    if (OpenIni(SettingsFileName)) {
        ReadSettings();
    } else {
        CreateIni(SettingsFileName);
        WriteDefaults();
    }
    CloseIni();
}
