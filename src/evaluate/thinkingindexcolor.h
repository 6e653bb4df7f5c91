// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct ThinkingIndexKind;

// The colour of the index's bar in the evaluation chart, as CSS writes it
// ("#0000ff"): the chart's automatic colour of the bar's position.
QString thinkingIndexColor(const ThinkingIndexKind &kind);
