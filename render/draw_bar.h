// Painting one frame of the bar, and the colours that go with the background.
#pragma once

// Paints the whole canvas from the bar's state and puts it on the screen.
void DrawBar();
// The slot colour and the label colour from the background colour.
void DeriveColors();
