#include "cli/qzbctl.h"

#include <iostream>

int main(int argc, char** argv)
{
    return qzb::RunQzbctl(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
