#pragma once

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/System/Vector2.hpp>
#include <SFML/Window/Event.hpp>

// The frame's only contacts with the real window. The game keeps the defaults;
// tests swap in a script so frames run deterministically without a window.
struct WindowSeam {
    bool (*pollEvent)(sf::RenderWindow* window, sf::Event& event);
    sf::Vector2i (*mousePosition)(const sf::RenderWindow* window);
    sf::Vector2u (*size)(const sf::RenderWindow* window);
    void (*close)(sf::RenderWindow* window);
};

WindowSeam& windowSeam();
// The seam that talks to the real window.
WindowSeam realWindowSeam();
