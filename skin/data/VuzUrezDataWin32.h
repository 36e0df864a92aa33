// Windows-only parts of the skin data component that painters use.
#pragma once

#include <windows.h>

#include "skin/data/VuzUrezData.h"

// The brush of the skin's face colour (made when first asked for; owned by the component).
HBRUSH ButtonFaceBrush(const TSkinData& data);
// The brush of the skin's content colour (ColourWindow), the same way.
HBRUSH WindowBrush(const TSkinData& data);
