// Sprite drawing commands, in the current view (x right, y down, one unit per
// pixel). Positions and sizes are rounded up to whole pixels where noted.
#pragma once

void DrawSprite(double slot, double x, double y);  // at its size, top-left at (ceil x, ceil y)
void StretchSprite(double slot, double x, double y, double width,
                   double height);  // negative sizes mirror
void ZoomSprite(double slot, double x, double y, double scaleX, double scaleY);  // about its centre
void RotateSprite(double slot, double x, double y, double angle);  // degrees, counter-clockwise
void RotoZoomSprite(double slot, double x, double y, double angle, double zoom);
void DrawAnimation(double slot, double frame, double x,
                   double y);  // frames left to right, top to bottom
void StretchAnimation(double slot, double frame, double x, double y, double width, double height);
void RotoZoomAnimation(double slot, double frame, double x, double y, double angle, double zoom);
void StartPolygon(double slot);  // -1: untextured
void PolygonVertex(double x, double y, double textureX, double textureY,
                   double colour);  // texture x, y in picture pixels
void EndPolygon();                  // draws the vertices as one triangle fan
void SetSmoothing(double on);       // 0: hard pixel edges until the next view reset
