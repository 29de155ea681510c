#pragma once

namespace lumetra::app {

// Application-wide settings made once before any window exists: the window
// font, the stand-in faces for missing fonts, and the application's name.
void prepareApplication();

} // namespace lumetra::app
