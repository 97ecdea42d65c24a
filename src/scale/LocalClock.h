// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <functional>

// The computer's local date and time as the scale dialogs read it (the clock sent to the scale,
// today's date when decoding a measurement), behind one replaceable hook so tests fix the moment.
QDateTime LocalNow();

using LocalClockHook = std::function<QDateTime()>;
// Installs hook (an empty one restores the system clock) and returns the previous hook.
LocalClockHook SetLocalClockHook(LocalClockHook hook);
