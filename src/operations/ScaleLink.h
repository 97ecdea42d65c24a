// SPDX-License-Identifier: MIT
#pragma once

#include "scale/ScaleFrame.h"
#include "scale/THidDevice.h"

// The three scale dialogs talk to Globals.AttachedScale through these. The scale may be unplugged
// between any two events, so each call looks at AttachedScale afresh.

// Makes handler the reply handler of the attached scale (which starts its reader); false when no
// scale is attached.
bool SetScaleReplyHandler(THidDataEvent handler);
// Clears the reply handler of the attached scale, if one is attached; this stops its reader.
void ClearScaleReplyHandler();
// Writes one request; false when no scale is attached or the scale did not take the whole report.
bool WriteScaleRequest(const ScaleRequest& request);
