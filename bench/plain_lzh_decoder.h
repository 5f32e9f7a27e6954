// A plain LZH decoder kept as the yardstick of the codec benchmark: one bit at a time, every
// byte through the read and write callbacks, written straight from the format description.
#pragma once

#include "skin/storage/winconvert.h"

void PlainLZHUnpack(int32_t textSize, const TReadProc &read, const TWriteProc &write);
