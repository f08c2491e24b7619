#pragma once

#include "app/ball.h"
#include "app/brick_grid.h"
#include "playfield/brick.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Window/Event.hpp>

#include <cstdint>
#include <memory>
#include <vector>

// Everything a running game holds. One per process, value-initialised before set-up.
struct Game {
    std::unique_ptr<sf::RenderWindow> window{};
    sf::VideoMode videoMode{};
    sf::Event event{};  // the last delivered event; all zero reads as Closed
    std::unique_ptr<sf::Font> font{};
    sf::Text timerText{};
    bool started = false;
    std::int32_t frameCount = 0;
    std::uint32_t destroyedCount = 0;
    bool paused = false;
    sf::Vector2i mousePosition{};
    sf::RectangleShape background{};
    sf::RectangleShape paddle{};
    BrickGrid bricks{};
    std::vector<Ball> balls{};
    sf::Texture backgroundTexture{};
    bool backgroundOpaque = false;  // every texel of the image: then blending changes nothing

    ~Game();

    void initWindow();
    void initLevel();
    void buildBrickGrid();

    void update();
    void updatePaddle();
    void waitForLaunch();
    void moveBalls();
    void probeBricks(std::size_t ballIndex);
    void onBrickContact(int col, int row, BallType type);
    void hitBrick(int col, int row);
    void spawnBonusBall();
    void restart();
};
