// What the file commands leave to the end of the program.
#pragma once

// Writes back a changed line file and a changed INI table, and closes every
// file channel. Called once by the release of devices.
void FlushFileCommands();
