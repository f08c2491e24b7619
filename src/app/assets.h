#pragma once

// The game's two files, read relative to the working directory it starts in.
inline constexpr const char* kFontPath = "fonts/aAbstractGroovy.ttf";
inline constexpr const char* kBackgroundPath = "assets/space.png";
