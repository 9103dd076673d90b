// Off-screen targets: 32 targets that redirect drawing into a sprite slot,
// through framebuffer objects where the driver has them and otherwise by
// drawing in the window's top-left corner and grabbing it.
#pragma once

void CreateScreen(double target, double slot, double width,
                  double height);  // target 0..31 draws into the slot
void UseScreen(
    double target);  // drawing goes to the target; negative: back to the window; above 31: ignored
