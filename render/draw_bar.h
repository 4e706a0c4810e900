// Painting one frame of the bar, and the colours that go with the background.
#pragma once

#include <cstdint>

// Paints the whole canvas from the bar's state and puts it on the screen.
void DrawBar();
// One slot's box, and its icon when it holds a link that has one.
struct LinkSlot;
struct Rect;
void DrawSlot(const LinkSlot& slot);
// The same for the part `area` of the slot's box, which holds all of its icon.
void DrawSlotArea(const LinkSlot& slot, const Rect& area);

// The slot colour and the label colour from the background colour.
void DeriveColors();

// Where the footer texts go, from the bar's width and the text's measured width: the hover label
// centred (ties to even, so it may start left of the bar), the version text ending 4 pixels
// before the right edge.
int32_t HoverLabelX(int32_t barWidth, int32_t labelWidth);
int32_t VersionTextX(int32_t barWidth, int32_t textWidth);

constexpr int32_t CloseGlyphOpacity = 192;
// The version text and the hover label have their cell's top this far above the bottom edge.
constexpr int32_t FooterLineOffset = 22;
constexpr int32_t VersionTextMargin = 4;
constexpr uint32_t CloseHighlightColor = 0x40FFFFFF;

// Makes the next DrawBar paint the whole frame even when nothing it draws has changed (slots
// whose look is unchanged still come from their kept copies).
void ForgetDrawnFrame();
