// sf::Window, sf::Mouse and sf::VideoMode over the page's canvas: what the game and
// sfml-graphics ask of SFML's window module, which has no browser backend. The canvas's
// mouse, touch, key, focus and size changes come as SFML's events, the pointer in the
// canvas's pixels.
#include "app/web/canvas.h"

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Mouse.hpp>
#include <SFML/Window/VideoMode.hpp>
#include <SFML/Window/Window.hpp>

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>

namespace sf::priv {
// The canvas's side of the window: what it heard and not yet delivered.
class WindowImpl {
public:
    std::deque<Event> events;
    bool focused = true;
    bool keyRepeat = true;
    Vector2i pointer;  // in the canvas's pixels, from its top left corner
    unsigned buttons = 0;
    Vector2u size;     // the canvas's pixels
    double cssWidth = 1.;  // its size on the page, for the pointer's scale
    bool listening = false;
    bool open = false;
};
}  // namespace sf::priv

namespace {
sf::priv::WindowImpl canvas;

// The canvas's drawing buffer against its size on the page: device pixels, not CSS pixels.
sf::Vector2i toPixels(long x, long y) {
    const double scale = canvas.size.x / std::max(canvas.cssWidth, 1.);
    return {static_cast<int>(std::floor(x * scale)), static_cast<int>(std::floor(y * scale))};
}

void post(const sf::Event& event) {
    if (canvas.open)
        canvas.events.push_back(event);
}

sf::Mouse::Button buttonOf(unsigned short button) {
    switch (button) {
    case 1: return sf::Mouse::Middle;
    case 2: return sf::Mouse::Right;
    case 3: return sf::Mouse::XButton1;
    case 4: return sf::Mouse::XButton2;
    default: return sf::Mouse::Left;
    }
}

EM_BOOL onMouse(int type, const EmscriptenMouseEvent* mouse, void*) {
    canvas.pointer = toPixels(mouse->targetX, mouse->targetY);
    sf::Event event{};
    if (type == EMSCRIPTEN_EVENT_MOUSEMOVE) {
        event.type = sf::Event::MouseMoved;
        event.mouseMove = {canvas.pointer.x, canvas.pointer.y};
    } else if (type == EMSCRIPTEN_EVENT_MOUSEENTER || type == EMSCRIPTEN_EVENT_MOUSELEAVE) {
        event.type = type == EMSCRIPTEN_EVENT_MOUSEENTER ? sf::Event::MouseEntered : sf::Event::MouseLeft;
    } else {
        const bool pressed = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
        const sf::Mouse::Button button = buttonOf(mouse->button);
        canvas.buttons = pressed ? canvas.buttons | 1u << button : canvas.buttons & ~(1u << button);
        event.type = pressed ? sf::Event::MouseButtonPressed : sf::Event::MouseButtonReleased;
        event.mouseButton = {button, canvas.pointer.x, canvas.pointer.y};
    }
    post(event);
    // A press taken by the game starts no text selection or drag on the page.
    return type == EMSCRIPTEN_EVENT_MOUSEDOWN;
}

// A finger steers as the pointer does, and a tap, a touch that ends soon and near where it
// began, is a click: a finger put down only to steer launches nothing.
struct Finger {
    long id = -1;  // the touch followed; -1 while none is
    double since = 0.;
    long x = 0, y = 0;
    bool moved = false;
} finger;
constexpr double kTapMs = 300.;
constexpr long kTapReach = 16;  // CSS pixels

void click() {
    sf::Event event{};
    event.mouseButton = {sf::Mouse::Left, canvas.pointer.x, canvas.pointer.y};
    for (const auto type : {sf::Event::MouseButtonPressed, sf::Event::MouseButtonReleased}) {
        event.type = type;
        post(event);
    }
}

EM_BOOL onTouch(int type, const EmscriptenTouchEvent* touch, void*) {
    for (int i = 0; i < touch->numTouches; ++i) {
        const EmscriptenTouchPoint& t = touch->touches[i];
        if (!t.isChanged)
            continue;
        if (type == EMSCRIPTEN_EVENT_TOUCHSTART && finger.id < 0)
            finger = {t.identifier, emscripten_get_now(), t.targetX, t.targetY, false};
        if (t.identifier != finger.id)
            continue;
        canvas.pointer = toPixels(t.targetX, t.targetY);
        sf::Event event{};
        event.type = sf::Event::MouseMoved;
        event.mouseMove = {canvas.pointer.x, canvas.pointer.y};
        post(event);
        finger.moved |= std::abs(t.targetX - finger.x) > kTapReach || std::abs(t.targetY - finger.y) > kTapReach;
        if (type == EMSCRIPTEN_EVENT_TOUCHEND || type == EMSCRIPTEN_EVENT_TOUCHCANCEL) {
            if (type == EMSCRIPTEN_EVENT_TOUCHEND && !finger.moved && emscripten_get_now() - finger.since < kTapMs)
                click();
            finger.id = -1;
        }
    }
    return EM_TRUE;  // the page neither scrolls nor zooms under the game
}

// By the key's meaning, as SFML reads X's keysyms: P is P on any layout.
sf::Keyboard::Key keyOf(const EmscriptenKeyboardEvent& key) {
    const char* name = key.key;
    if (name[0] && !name[1]) {
        const char c = name[0];
        if (c >= 'a' && c <= 'z')
            return static_cast<sf::Keyboard::Key>(sf::Keyboard::A + (c - 'a'));
        if (c >= 'A' && c <= 'Z')
            return static_cast<sf::Keyboard::Key>(sf::Keyboard::A + (c - 'A'));
        if (c >= '0' && c <= '9')
            return static_cast<sf::Keyboard::Key>(sf::Keyboard::Num0 + (c - '0'));
        if (c == ' ')
            return sf::Keyboard::Space;
    }
    static const struct {
        const char* name;
        sf::Keyboard::Key key;
    } named[] = {{"Escape", sf::Keyboard::Escape}, {"Enter", sf::Keyboard::Enter},
                 {"Backspace", sf::Keyboard::Backspace}, {"Tab", sf::Keyboard::Tab},
                 {"ArrowLeft", sf::Keyboard::Left}, {"ArrowRight", sf::Keyboard::Right},
                 {"ArrowUp", sf::Keyboard::Up}, {"ArrowDown", sf::Keyboard::Down},
                 {"Pause", sf::Keyboard::Pause}};
    for (const auto& n : named)
        if (std::strcmp(n.name, name) == 0)
            return n.key;
    return sf::Keyboard::Unknown;
}

EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* key, void*) {
    if (key->repeat && !canvas.keyRepeat)
        return EM_FALSE;
    sf::Event event{};
    event.type = type == EMSCRIPTEN_EVENT_KEYDOWN ? sf::Event::KeyPressed : sf::Event::KeyReleased;
    event.key = {keyOf(*key), key->altKey != 0, key->ctrlKey != 0, key->shiftKey != 0, key->metaKey != 0};
    post(event);
    return EM_FALSE;  // the browser's own keys keep working
}

EM_BOOL onFocus(int type, const EmscriptenFocusEvent*, void*) {
    canvas.focused = type == EMSCRIPTEN_EVENT_FOCUS;
    sf::Event event{};
    event.type = canvas.focused ? sf::Event::GainedFocus : sf::Event::LostFocus;
    post(event);
    return EM_FALSE;
}

// Keys and focus belong to the page; the pointer's and fingers' moves and presses to the canvas.
void listen() {
    if (canvas.listening)
        return;
    canvas.listening = true;
    emscripten_set_mousemove_callback(kCanvas, nullptr, EM_FALSE, onMouse);
    emscripten_set_mousedown_callback(kCanvas, nullptr, EM_FALSE, onMouse);
    emscripten_set_mouseup_callback(kCanvas, nullptr, EM_FALSE, onMouse);
    emscripten_set_mouseenter_callback(kCanvas, nullptr, EM_FALSE, onMouse);
    emscripten_set_mouseleave_callback(kCanvas, nullptr, EM_FALSE, onMouse);
    emscripten_set_touchstart_callback(kCanvas, nullptr, EM_FALSE, onTouch);
    emscripten_set_touchmove_callback(kCanvas, nullptr, EM_FALSE, onTouch);
    emscripten_set_touchend_callback(kCanvas, nullptr, EM_FALSE, onTouch);
    emscripten_set_touchcancel_callback(kCanvas, nullptr, EM_FALSE, onTouch);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, onKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, onKey);
    emscripten_set_focus_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, onFocus);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, onFocus);
}

void sizeCanvas(sf::Vector2u size) {
    canvas.size = {std::max(size.x, 1u), std::max(size.y, 1u)};
    emscripten_set_canvas_element_size(kCanvas, static_cast<int>(canvas.size.x), static_cast<int>(canvas.size.y));
    double height = 0.;
    emscripten_get_element_css_size(kCanvas, &canvas.cssWidth, &height);
}

EM_JS(int, pageHasFocus, (), { return document.hasFocus() ? 1 : 0; });
EM_JS(void, focusPage, (), { window.focus(); });
}  // namespace

namespace sf {

Window::Window() : m_impl(nullptr), m_context(nullptr), m_frameTimeLimit(Time::Zero), m_size(0, 0) {}

Window::Window(VideoMode mode, const String& title, Uint32 style, const ContextSettings& settings) : Window() {
    create(mode, title, style, settings);
}

Window::Window(WindowHandle handle, const ContextSettings& settings) : Window() { create(handle, settings); }

Window::~Window() { close(); }

// The page has the one canvas: any window is it, at the mode's size in its pixels.
void Window::create(VideoMode mode, const String& title, Uint32, const ContextSettings&) {
    close();
    if (!canvasContextCurrent())
        return;
    canvas.events.clear();
    canvas.focused = pageHasFocus();
    canvas.open = true;
    sizeCanvas({mode.width, mode.height});
    listen();
    m_impl = &canvas;
    m_context = canvasContext();
    setTitle(title);
    initialize();
}

void Window::create(WindowHandle, const ContextSettings& settings) {
    create(VideoMode(canvas.size.x, canvas.size.y), "", Style::Default, settings);
}

void Window::initialize() {
    m_size = canvas.size;
    m_clock.restart();
    setActive();
    onCreate();
}

void Window::close() {
    if (m_impl)
        canvas.open = false;
    m_impl = nullptr;
    m_context = nullptr;
}

bool Window::isOpen() const { return m_impl != nullptr; }

const ContextSettings& Window::getSettings() const {
    static const ContextSettings webgl(0, 0, 0, 2, 0);
    return webgl;
}

bool Window::pollEvent(Event& event) {
    if (!m_impl || m_impl->events.empty())
        return false;
    event = m_impl->events.front();
    m_impl->events.pop_front();
    return filterEvent(event);
}

// A page cannot block: what has come, or nothing.
bool Window::waitEvent(Event& event) { return pollEvent(event); }

bool Window::filterEvent(const Event& event) {
    if (event.type == Event::Resized) {
        m_size = {event.size.width, event.size.height};
        onResize();
    }
    return true;
}

Vector2i Window::getPosition() const { return {0, 0}; }
void Window::setPosition(const Vector2i&) {}
Vector2u Window::getSize() const { return m_size; }

// At once, so the frame drawn next fits the new size, and heard of as the desktop's are.
void Window::setSize(const Vector2u& size) {
    if (!m_impl)
        return;
    sizeCanvas(size);
    m_size = canvas.size;
    onResize();
    Event event{};
    event.type = Event::Resized;
    event.size = {m_size.x, m_size.y};
    post(event);
}

void Window::setTitle(const String& title) {
    if (!title.isEmpty())
        emscripten_set_window_title(title.toAnsiString().c_str());
}

// The page's own: its icon, its cursor, whether the canvas shows.
void Window::setIcon(unsigned int, unsigned int, const Uint8*) {}
void Window::setVisible(bool) {}
void Window::setMouseCursorVisible(bool) {}
void Window::setMouseCursorGrabbed(bool) {}
void Window::setJoystickThreshold(float) {}
// The browser shows a frame at each refresh of the display: there is no sync to turn on or
// off, and no rate to hold to but the one the page's animation frames keep.
void Window::setVerticalSyncEnabled(bool) {}
void Window::setFramerateLimit(unsigned int) {}
void Window::setKeyRepeatEnabled(bool enabled) { canvas.keyRepeat = enabled; }

bool Window::setActive(bool active) const { return m_context && (!active || canvasContextCurrent()); }

void Window::requestFocus() { focusPage(); }
bool Window::hasFocus() const { return m_impl && m_impl->focused; }

// What a frame draws shows once it hands control back to the browser.
void Window::display() {}

WindowHandle Window::getSystemHandle() const { return 0; }
void Window::onCreate() {}
void Window::onResize() {}

Vector2i Mouse::getPosition() { return canvas.pointer; }
Vector2i Mouse::getPosition(const Window&) { return canvas.pointer; }
// A page cannot move the pointer.
void Mouse::setPosition(const Vector2i&) {}
void Mouse::setPosition(const Vector2i&, const Window&) {}
bool Mouse::isButtonPressed(Button button) { return canvas.buttons & 1u << button; }

VideoMode::VideoMode() : width(0), height(0), bitsPerPixel(0) {}
VideoMode::VideoMode(unsigned int modeWidth, unsigned int modeHeight, unsigned int modeBitsPerPixel)
    : width(modeWidth), height(modeHeight), bitsPerPixel(modeBitsPerPixel) {}

// The canvas is the page's screen: its size now, in its pixels, with no alpha.
VideoMode VideoMode::getDesktopMode() { return VideoMode(canvas.size.x, canvas.size.y, 24); }
const std::vector<VideoMode>& VideoMode::getFullscreenModes() {
    static std::vector<VideoMode> modes;
    modes.assign(1, getDesktopMode());
    return modes;
}
bool VideoMode::isValid() const { return width > 0 && height > 0; }

bool operator==(const VideoMode& left, const VideoMode& right) {
    return left.width == right.width && left.height == right.height && left.bitsPerPixel == right.bitsPerPixel;
}
bool operator!=(const VideoMode& left, const VideoMode& right) { return !(left == right); }

}  // namespace sf
