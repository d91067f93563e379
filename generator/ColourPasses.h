#pragma once
// The colour passes that run after the pattern member, over rows 0..RowCount.
#include <cstdint>

namespace Rosacle {

class Rosette;

void ThresholdPass(Rosette& R);          // two-tone: 255 where the brightest channel reaches 232
void InvertPass(Rosette& R);             // 255 - c
void GrayPass(Rosette& R);               // folded grey level
void RimPass(Rosette& R, bool background); // the five outermost rows fade into the background
// The control-panel preview's fade to white: the same rows, one point fewer per row.
void PreviewFade(Rosette& R);

} // namespace Rosacle
