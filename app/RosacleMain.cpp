// The rosacle tool's entry.
#include <iostream>

#include "app/RosacleTool.h"

int main(int argc, char** argv)
{
    // Windows starts threads with 53-bit x87 precision; the generator needs all 64 bits.
    Rosacle::SetExtendedPrecision();
    return RosacleTool::Run(argc, argv, std::cout, std::cerr);
}
