// launcher-stamp on Linux: the arguments arrive as UTF-8 already.
#include <iostream>

#include "stamp/StampCommand.h"

int main(int argc, char** argv)
{
    return runStampCommand(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
