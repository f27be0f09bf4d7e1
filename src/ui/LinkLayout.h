#pragma once

// How a static control aligns its text.
enum class LinkAlignment { Left, Centre, Right };

// How far to the right the label's measured rectangle (which starts at the
// client origin) moves inside a client area `clientRight` wide: a centred
// label by half of the free width, a right-aligned one by all of it.
int linkShift(LinkAlignment alignment, int clientRight, int measuredRight);
