// Sprite slot commands: loading pictures into slots, grabbing the screen,
// sizes and the transparent colour. Slots 65504..65535 hold the fonts and
// 65503 is the off-screen emulation's scratch slot.
#pragma once

#include "runtime/values/RtString.h"

double LoadSprite(const RtString& file, double slot);     // 1 loaded, 0 not found or unreadable
double LoadNormalMap(const RtString& file, double slot);  // a normal map from the picture's blue
double LoadAnimation(const RtString& file, double slot, double frameWidth, double frameHeight);
void GetSpriteSize(double slot, double& width, double& height);  // 0, 0 for an empty slot
double GrabSprite(double slot, double x, double y, double width, double height);  // screen to slot
void SetTransparentColour(double colour);  // red + 256 green + 65536 blue; -1 none
