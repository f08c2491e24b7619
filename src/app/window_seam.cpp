#include "app/window_seam.h"

#include <SFML/Window/Mouse.hpp>

WindowSeam realWindowSeam() {
    return WindowSeam{
        [](sf::RenderWindow* window, sf::Event& event) { return window->pollEvent(event); },
        [](const sf::RenderWindow* window) { return sf::Mouse::getPosition(*window); },
        [](const sf::RenderWindow* window) { return window->getSize(); },
        [](sf::RenderWindow* window) { window->close(); },
    };
}

WindowSeam& windowSeam() {
    static WindowSeam seam = realWindowSeam();
    return seam;
}
