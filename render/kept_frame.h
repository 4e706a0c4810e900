// What the bar keeps of the frames it has painted, so as not to paint the same pixels again.
//
// A shown bar calls DrawBar every few milliseconds, and mostly nothing it paints from has changed
// since the last call: then the frame in the buffer, and on the screen, is already the right one.
// When something has changed (the pointer moved, say), most of the frame still looks exactly as
// before: the layers under the texts (background, close glyph, slots with their icons) are kept
// as they were painted, and only the slots whose look changed are painted again.
#pragma once

#include <cstddef>

#include "core/bar_state.h"

// True when the canvas already holds the frame that the bar's state gives.
bool SameAsDrawn();
// Notes the state the frame in the canvas was just painted from.
void RememberDrawn();

// The slots DrawBar paints: slotCount of them, as far as they exist.
size_t DrawnSlotCount();

// Puts the kept layers under the texts into the canvas, with every slot whose look changed painted
// again. False when nothing usable is kept: then the caller paints those layers and keeps them.
bool PaintKeptLayers();
// Keeps the layers under the texts as just painted, where they can be kept.
void KeepLayers();

// Lets go of the kept layers; the next frame is painted whole.
void ForgetKeptLayers();

// On top of kept layers, whether the texts and the highlight are to be painted again: not when
// the canvas still shows them as they are to be.
bool FooterToPaint();
bool HighlightToPaint();

// The parts of the frame just painted that can differ from the frame painted before it: the
// whole canvas, unless the layers came from PaintKeptLayers. Call before RememberDrawn.
FrameChanges ChangedParts();
