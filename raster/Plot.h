#pragma once
// The plot of a rosette's frame into a surface (Rosette::Plot), through the pixel map the
// rosette made when it was laid.
#include "generator/Rosacle.h"
#include "raster/DibSurface.h"
