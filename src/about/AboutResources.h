// SPDX-License-Identifier: MIT
#pragma once

// Registers the pictures of the about box and the splash window (about.qrc). They live in a static
// library, whose resources the linker would otherwise leave out.
void InitAboutResources();
