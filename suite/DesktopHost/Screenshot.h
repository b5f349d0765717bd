#pragma once

#include <string>

namespace DesktopHost {

/* Saves the screen as a PNG file: the whole screen where the platform can
   grab it (an X display, Xvfb), else the host's top-level windows painted
   at their places on the screen's background (the offscreen platform).
   False with Error when nothing could be grabbed or the file not written. */
bool SaveScreenshot(const std::string& file, std::string& error);

}  // namespace DesktopHost
