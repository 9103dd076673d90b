// Pixel-exact overlap of two placed pictures: the boxes are intersected, then
// the alpha of both textures is compared inside the intersection.
#pragma once

// 1 when the pictures at (x1, y1) and (x2, y2) share a pixel solid in both.
double SpriteCollision(double slot1, double x1, double y1, double slot2, double x2, double y2);
// The same for two animation frames (a slot without frames counts whole).
double AnimationCollision(double slot1, double frame1, double x1, double y1, double slot2,
                          double frame2, double x2, double y2);
