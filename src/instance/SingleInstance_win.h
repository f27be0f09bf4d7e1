#pragma once

class Launcher;

// Decides whether this start coordinates with others of the same executable
// and sets up its side: a primary creates the block, the ready event, the
// request message and the listener thread; a secondary writes its arguments
// and posts its request. False (exit code -1, no message) only when the
// configuration path cannot be formed, a secondary's arguments do not fit, or
// its request cannot be posted. Any other failure turns coordination off.
bool setupInstanceCoordination(Launcher& launcher);

// The secondary's road: waits for the primary's answer and returns it, or the
// primary's exit code when it ends first (0 when it cannot be opened, -1 when
// its exit code cannot be read).
int waitForPrimaryInstanceAnswer(Launcher& launcher);

// Stops the listener of a primary and releases the block.
void stopInstanceCoordination(Launcher& launcher);
