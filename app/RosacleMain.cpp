// The rosacle tool's entry.
#include <iostream>

#include "app/RosacleTool.h"
#include "generator/Workers.h"

int main(int argc, char** argv)
{
    // Windows starts threads with 53-bit x87 precision; the generator needs all 64 bits.
    Rosacle::SetExtendedPrecision();
    // Frames and layouts share their rows among all processors; bench --threads overrides.
    Rosacle::SetWorkerCount(Rosacle::ProcessorCount());
    return RosacleTool::Run(argc, argv, std::cout, std::cerr);
}
