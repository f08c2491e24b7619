#pragma once

// Where the paddle and the waiting balls sit; shared by the level and the play.
constexpr float kPaddleWidth = 170.f;
constexpr float kPaddleHeight = 20.f;
constexpr float kPaddleY = 1000.f;   // the paddle's centre height
constexpr float kBallRestY = 980.f;  // a ball waiting on the paddle
