#include "ui/LinkLayout.h"

int linkShift(LinkAlignment alignment, int clientRight, int measuredRight)
{
    switch (alignment) {
    case LinkAlignment::Centre:
        return (clientRight - measuredRight) / 2;
    case LinkAlignment::Right:
        return clientRight - measuredRight;
    case LinkAlignment::Left:
        break;
    }
    return 0;
}
