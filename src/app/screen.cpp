#include "app/screen.h"

sf::IntRect monitorFor(const std::vector<Monitor>& monitors, const sf::IntRect& window) {
    const Monitor* best = nullptr;
    int most = 0;
    for (const Monitor& monitor : monitors) {
        sf::IntRect covered;
        if (monitor.area.intersects(window, covered) && covered.width * covered.height > most) {
            most = covered.width * covered.height;
            best = &monitor;
        }
    }
    for (const Monitor& monitor : monitors)
        if (!best && monitor.primary)
            best = &monitor;
    if (!best && !monitors.empty())
        best = &monitors.front();
    return best ? best->area : sf::IntRect();
}
