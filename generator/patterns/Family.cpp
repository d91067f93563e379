#include "generator/patterns/Family.h"

namespace Rosacle {

int32_t LastPoint = 0;
Extended WorkA = 0, WorkB = 0, WorkC = 0, WorkD = 0, WorkE = 0;
Extended WorkU[4] = {0, 0, 0, 0};
Extended WorkT[4] = {0, 0, 0, 0};
Extended WorkX[4] = {0, 0, 0, 0};

const PatternFunction PatternTable[41] = {
    nullptr,   Pattern1,  Pattern2,  Pattern3,  Pattern4,  Pattern5,  Pattern6,
    Pattern7,  Pattern8,  Pattern9,  Pattern10, Pattern11, Pattern12, Pattern13,
    Pattern14, Pattern15, Pattern16, Pattern17, Pattern18, Pattern19, Pattern20,
    Pattern21, Pattern22, Pattern23, Pattern24, Pattern25, Pattern26, Pattern27,
    Pattern28, Pattern29, Pattern30, Pattern31, Pattern32, Pattern33, Pattern34,
    Pattern35, Pattern36, Pattern37, Pattern38, Pattern39, Pattern40,
};

} // namespace Rosacle
