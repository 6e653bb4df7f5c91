// SPDX-License-Identifier: GPL-3.0-or-later
#include "thinkingindexcolor.h"

#include "thinkingindices.h"

#include "chart/chartpalette.h"

QString thinkingIndexColor(const ThinkingIndexKind &kind)
{
    return chartPaletteColor(kind.barPosition).name();
}
