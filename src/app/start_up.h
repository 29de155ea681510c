// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumetra::app {

// Application-wide settings made once before any window exists: the window
// font, the stand-in faces for missing fonts, the names the settings go by,
// and the translation of Qt's own dialogs.
void prepareApplication();

} // namespace lumetra::app
