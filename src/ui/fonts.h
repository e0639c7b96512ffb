// Font sizes as the layouts give them: a negative height in pixels, the
// character height without internal leading, which is the font's pixel size.
#pragma once

class QWidget;

// Gives the window and each of its children that carries the property
// "fontHeight" a font of that many pixels.
void ApplyFontHeights(QWidget& window);
