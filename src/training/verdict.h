// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How one submitted answer was judged. Values 1 to 4 are also the `type` of the
// feedback phrases in the table hdpj; all five select the colour of a record line.
enum class Verdict {
    Accepted = 1,
    Invalid = 2,
    Repeated = 3,
    Persistent = 4,
    TooFast = 5,
};
