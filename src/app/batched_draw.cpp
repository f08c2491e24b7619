#include "app/batched_draw.h"

#include "app/game.h"

#include <algorithm>
#include <numeric>

// Why the batch paints exactly the pixels of drawFrame, and what it relies on:
// - each brick fills its own cell and nothing else (the shape sits at the cell's corner,
//   cell-sized, its outline inside), so bricks never overlap and the background under
//   a brick never shows: the background is drawn only around the bricks;
// - bricks are opaque, so painting each pixel once with its final colour, without
//   blending, gives what blending layer on layer gives: a run of cells painted in the
//   outline colour, then each body inside its outline;
// - the background pieces lie only on the cleared window, blended as the whole image
//   is (an opaque image, unblended, paints the same texels); cut into pieces, an image
//   mapped 1:1 onto the world samples the texels the whole image samples wherever the
//   fit puts pixel centres clear of texel edges, so elsewhere it is drawn whole;
// - each label lies inside its brick, so all bodies before all labels stack every
//   pixel as brick after brick does;
// - every corner sits on a whole world unit (glyph metrics on 1/64), so moved on the
//   CPU rather than by a shape's transform it lands on the same point of the
//   renderer's subpixel grid.
// The pixel comparison in tests/draw_test.cpp holds the batch to all of this.

namespace {
// sf::Text widens each glyph quad by one texel all round, over the transparent gap
// the font leaves between glyphs on its texture.
constexpr float kGlyphPadding = 1.f;

constexpr std::size_t kQuadVertices = 6;
// Room reserved up front: the most quads a wall can need, and labels of two characters.
constexpr std::size_t kMostBackgroundQuads = 2 + kGridRows * (kGridColumns + 1) / 2;
constexpr std::size_t kMostBrickQuads = 2 * kBrickCount;  // an outline run and a body each
constexpr std::size_t kReservedLabelChars = 2;

struct Box {
    float left, top, right, bottom;
};

// Columns [from, to) of a row.
Box cells(int from, int to, int row) {
    const sf::FloatRect first = cellRect(from, row);
    return Box{first.left, first.top, cellRect(to, row).left, first.top + first.height};
}

const Brick* brickAt(const Game& game, int col, int row) { return game.bricks[slotIndex(col, row)].get(); }

// Whether the whole image covers the background one texel to one world unit.
bool mapsOneToOne(const sf::RectangleShape& background) {
    const sf::Texture* image = background.getTexture();
    return image && sf::Vector2f(image->getSize()) == background.getSize() &&
           background.getTextureRect() == sf::IntRect({0, 0}, sf::Vector2i(image->getSize()));
}

// Whether pixel centres across `pixels` showing `units` of the world sample every texel
// of a one-to-one image well clear of its edges, so pieces pick the texels the whole
// image picks. A centre lands at an odd multiple of units / (2 * pixels) texels: a
// multiple of 1/d of a texel, d = 2 * pixels / gcd(2 * pixels, units), and never on
// an edge when d is even. The limit keeps it far beyond rounding.
bool samplesClearOfTexelEdges(int pixels, int units) {
    constexpr int kFinestTexelFraction = 64;
    const int d = 2 * pixels / std::gcd(2 * pixels, units);
    return d % 2 == 0 && d <= kFinestTexelFraction;
}

bool opaque(const sf::Image& image) {
    const sf::Uint8* rgba = image.getPixelsPtr();
    const std::size_t bytes = std::size_t{4} * image.getSize().x * image.getSize().y;
    for (std::size_t alpha = 3; alpha < bytes; alpha += 4)
        if (rgba[alpha] != 255)
            return false;
    return true;
}

bool backgroundGoesInPieces(const sf::RectangleShape& background, const sf::RenderTarget& target) {
    const sf::IntRect area = target.getViewport(target.getView());
    const sf::Vector2i units(target.getView().getSize());
    return mapsOneToOne(background) && samplesClearOfTexelEdges(area.width, units.x) &&
           samplesClearOfTexelEdges(area.height, units.y);
}

// Two triangles, in the corner order sf::Text uses for its quads.
void appendQuad(std::vector<sf::Vertex>& out, Box at, sf::Color color, Box tex = {}) {
    out.emplace_back(sf::Vector2f(at.left, at.top), color, sf::Vector2f(tex.left, tex.top));
    out.emplace_back(sf::Vector2f(at.right, at.top), color, sf::Vector2f(tex.right, tex.top));
    out.emplace_back(sf::Vector2f(at.left, at.bottom), color, sf::Vector2f(tex.left, tex.bottom));
    out.emplace_back(sf::Vector2f(at.left, at.bottom), color, sf::Vector2f(tex.left, tex.bottom));
    out.emplace_back(sf::Vector2f(at.right, at.top), color, sf::Vector2f(tex.right, tex.top));
    out.emplace_back(sf::Vector2f(at.right, at.bottom), color, sf::Vector2f(tex.right, tex.bottom));
}

// The background shape sits at the world's origin, its texture stretched over it.
void appendBackground(std::vector<sf::Vertex>& out, const sf::RectangleShape& background, Box at) {
    const sf::Vector2f size = background.getSize();
    const sf::FloatRect rect(background.getTextureRect());
    const auto u = [&](float x) { return rect.left + x * rect.width / size.x; };
    const auto v = [&](float y) { return rect.top + y * rect.height / size.y; };
    appendQuad(out, at, background.getFillColor(), Box{u(at.left), v(at.top), u(at.right), v(at.bottom)});
}

// The quads sf::Text makes for a one-line, regular-style string without outline.
void appendLabel(std::vector<sf::Vertex>& out, const sf::Text& label, const sf::Font& font) {
    const unsigned size = label.getCharacterSize();
    const sf::Vector2f at = label.getPosition();
    const sf::Color color = label.getFillColor();
    const float baseline = static_cast<float>(size);
    float x = 0.f;
    sf::Uint32 previous = 0;
    for (const sf::Uint32 c : label.getString()) {
        if (previous != 0)
            x += font.getKerning(previous, c, size);
        previous = c;
        const sf::Glyph& g = font.getGlyph(c, size, false);
        const Box local{x + (g.bounds.left - kGlyphPadding), baseline + (g.bounds.top - kGlyphPadding),
                        x + (g.bounds.left + g.bounds.width + kGlyphPadding),
                        baseline + (g.bounds.top + g.bounds.height + kGlyphPadding)};
        const sf::IntRect& r = g.textureRect;
        const Box tex{static_cast<float>(r.left) - kGlyphPadding, static_cast<float>(r.top) - kGlyphPadding,
                      static_cast<float>(r.left + r.width) + kGlyphPadding,
                      static_cast<float>(r.top + r.height) + kGlyphPadding};
        appendQuad(out, Box{at.x + local.left, at.y + local.top, at.x + local.right, at.y + local.bottom}, color,
                   tex);
        x += g.advance;
    }
}
}  // namespace

BatchedDraw::BatchedDraw() {
    backdrop.reserve(kMostBackgroundQuads * kQuadVertices);
    bricks.reserve(kMostBrickQuads * kQuadVertices);
    labels.reserve(kBrickCount * kReservedLabelChars * kQuadVertices);
}

void BatchedDraw::lookAtBackground(const sf::Texture& image) {
    backgroundOpaque = image.getSize().x > 0 && opaque(image.copyToImage());
}

void BatchedDraw::draw(const Game& game, sf::RenderTarget& target) {
    backdrop.clear();
    bricks.clear();
    labels.clear();
    appendAroundTheWall(game);
    const sf::Texture* glyphs = appendBodiesAndLabels(game);

    // Blending an opaque image over the window gives the image's own texels; drawn
    // without, the renderer neither reads the window back nor paints the clear under it.
    const sf::BlendMode blend =
        backgroundOpaque && game.background.getFillColor().a == 255 ? sf::BlendNone : sf::BlendAlpha;
    if (backgroundGoesInPieces(game.background, target))
        target.draw(backdrop.data(), backdrop.size(), sf::Triangles,
                    sf::RenderStates(blend, sf::Transform::Identity, game.background.getTexture(), nullptr));
    else
        target.draw(game.background, sf::RenderStates(blend));
    target.draw(game.timerText);
    target.draw(game.paddle);
    target.draw(bricks.data(), bricks.size(), sf::Triangles, sf::RenderStates(sf::BlendNone));
    target.draw(labels.data(), labels.size(), sf::Triangles, sf::RenderStates(glyphs));
    // Balls move by fractions of a unit: each keeps its own draw, so the renderer
    // places it with the very arithmetic of the object-by-object picture.
    for (const Ball& ball : game.balls)
        target.draw(ball.shape);
}

void BatchedDraw::appendAroundTheWall(const Game& game) {
    const sf::Vector2f world = game.background.getSize();
    const float wallTop = cells(0, 0, 0).top;
    const float wallBottom = cells(0, 0, kGridRows).top;
    appendBackground(backdrop, game.background, Box{0.f, 0.f, world.x, wallTop});
    for (int row = 0; row < kGridRows; ++row) {
        for (int col = 0; col < kGridColumns;) {
            const int from = col;
            if (const Brick* first = brickAt(game, col, row)) {
                const sf::Color outline = first->shape.getOutlineColor();
                const auto sameOutline = [&](const Brick* b) { return b && b->shape.getOutlineColor() == outline; };
                while (col < kGridColumns && sameOutline(brickAt(game, col, row)))
                    ++col;
                appendQuad(bricks, cells(from, col, row), outline);
            } else {
                while (col < kGridColumns && !brickAt(game, col, row))
                    ++col;
                appendBackground(backdrop, game.background, cells(from, col, row));
            }
        }
    }
    appendBackground(backdrop, game.background, Box{0.f, wallBottom, world.x, world.y});
}

const sf::Texture* BatchedDraw::appendBodiesAndLabels(const Game& game) {
    // Every label shares one font and size, so one texture serves them all.
    const sf::Texture* glyphs = nullptr;
    for (int row = 0; row < kGridRows; ++row) {
        for (int col = 0; col < kGridColumns; ++col) {
            const Brick* brick = brickAt(game, col, row);
            if (!brick)
                continue;
            const float inset = std::max(0.f, -brick->shape.getOutlineThickness());
            const Box cell = cells(col, col + 1, row);
            appendQuad(bricks, Box{cell.left + inset, cell.top + inset, cell.right - inset, cell.bottom - inset},
                       brick->shape.getFillColor());
            if (const sf::Font* font = brick->label.getFont()) {
                appendLabel(labels, brick->label, *font);
                glyphs = &font->getTexture(brick->label.getCharacterSize());
            }
        }
    }
    return glyphs;
}
