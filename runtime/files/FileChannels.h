// The eight numbered file channels of the game language (0..7); their
// commands are in runtime/runtime.h. A bad channel number is runtime error 7;
// a read past the end or on a closed channel is runtime error 3; both end the
// program.
#pragma once

// Closes every open channel (the release of devices).
void CloseFileChannels();
