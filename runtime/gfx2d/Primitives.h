// The alpha mode every 2D command draws under, the untextured primitives,
// reading a pixel and clearing. Colours are red + 256 green + 65536 blue; the
// sprite transparent colour draws fully transparent.
#pragma once

void SetAlphaMode(
    double mode);  // 0 opaque; > 0 additive, < 0 transparent, at opacity |mode| (at most 1)
void DrawPixel(double x, double y, double colour);
void DrawLine(double x1, double y1, double x2, double y2, double colour);  // both end points set
void DrawRect(double x, double y, double width, double height,
              double colour);         // filled; negative sizes turn round
double GetPixel(double x, double y);  // colour of the drawing surface at (x, y)
void ClearScreen();                   // removes background image 0 and clears to black
