#pragma once

// The game lays everything out in this fixed world, whatever the window's size.
constexpr float kWorldWidth = 1920.f;
constexpr float kWorldHeight = 1080.f;
