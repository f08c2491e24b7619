#include "app/world.h"

#include <algorithm>
#include <cmath>

sf::IntRect worldArea(sf::Vector2u windowSize) {
    const double scale = std::min(windowSize.x / double{kWorldWidth}, windowSize.y / double{kWorldHeight});
    // Rounded once here, so the drawing and the pointer agree on the very same pixels.
    const int width = static_cast<int>(std::lround(kWorldWidth * scale));
    const int height = static_cast<int>(std::lround(kWorldHeight * scale));
    return {(static_cast<int>(windowSize.x) - width) / 2, (static_cast<int>(windowSize.y) - height) / 2, width,
            height};
}

sf::View fittedView(sf::Vector2u windowSize) {
    sf::View view(sf::FloatRect(0.f, 0.f, kWorldWidth, kWorldHeight));
    if (windowSize.x == 0 || windowSize.y == 0)
        return view;
    const sf::FloatRect area(worldArea(windowSize));
    const sf::Vector2f size(windowSize);
    view.setViewport({area.left / size.x, area.top / size.y, area.width / size.x, area.height / size.y});
    return view;
}

float pointerToWorldX(int pixelX, sf::Vector2u windowSize) {
    const sf::IntRect area = worldArea(windowSize);
    if (area.width <= 0)
        return static_cast<float>(pixelX);
    // In double, exact for any int: at 1920 wide this is the pixel itself.
    return static_cast<float>((static_cast<double>(pixelX) - area.left) * kWorldWidth / area.width);
}
