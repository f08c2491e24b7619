#include "app/batched_draw.h"

#include "app/game.h"
#include "app/world.h"

#include <algorithm>
#include <numeric>

// Why the batch paints exactly the pixels of drawFrame, and what it relies on:
// - each brick fills its own cell and nothing else (the shape sits at the cell's corner,
//   cell-sized, its outline inside), so bricks never overlap and the background under
//   a brick never shows: the background is drawn only around the bricks;
// - bricks are opaque, so painting each pixel once with its final colour, without
//   blending, gives what blending layer on layer gives: a run of cells painted in the
//   outline colour, then each body inside its outline;
// - the background, drawn whole over the cleared window, makes the same pixels wherever
//   it is drawn at the window's size and fit; kept so, it is copied into the pieces one
//   pixel to one texel, each pixel centre on its texel's centre, so nothing the scale
//   or the cut does to sampling can pick another texel; where the fit magnifies a
//   one-to-one image and samples it clear of texel edges, it is kept at the world's
//   size instead, the image's own texels over black, picked as the image's would be;
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

// Two triangles, in the corner order sf::Text uses for its quads.
void appendQuad(std::vector<sf::Vertex>& out, Box at, sf::Color color, Box tex = {}) {
    out.emplace_back(sf::Vector2f(at.left, at.top), color, sf::Vector2f(tex.left, tex.top));
    out.emplace_back(sf::Vector2f(at.right, at.top), color, sf::Vector2f(tex.right, tex.top));
    out.emplace_back(sf::Vector2f(at.left, at.bottom), color, sf::Vector2f(tex.left, tex.bottom));
    out.emplace_back(sf::Vector2f(at.left, at.bottom), color, sf::Vector2f(tex.left, tex.bottom));
    out.emplace_back(sf::Vector2f(at.right, at.top), color, sf::Vector2f(tex.right, tex.top));
    out.emplace_back(sf::Vector2f(at.right, at.bottom), color, sf::Vector2f(tex.right, tex.bottom));
}

// Where the target's view puts world points, in pixels from its top-left corner.
sf::Transform worldToPixels(const sf::RenderTarget& target) {
    const sf::FloatRect area(target.getViewport(target.getView()));
    return sf::Transform()
               .translate(area.left + area.width / 2.f, area.top + area.height / 2.f)
               .scale(area.width / 2.f, -area.height / 2.f) *
           target.getView().getTransform();
}

// Whether the whole image covers the background one texel to one world unit.
bool mapsOneToOne(const sf::RectangleShape& background) {
    const sf::Texture* image = background.getTexture();
    return image && sf::Vector2f(image->getSize()) == background.getSize() &&
           background.getTextureRect() == sf::IntRect({0, 0}, sf::Vector2i(image->getSize()));
}

// Whether pixel centres across `pixels` showing `units` of the world sample every texel
// of a one-to-one image well clear of its edges. A centre lands at an odd multiple of
// units / (2 * pixels) texels: a multiple of 1/d of a texel, d = 2 * pixels /
// gcd(2 * pixels, units), and never on an edge when d is even. The limit keeps it far
// beyond rounding.
bool samplesClearOfTexelEdges(int pixels, int units) {
    constexpr int kFinestTexelFraction = 64;
    const int d = 2 * pixels / std::gcd(2 * pixels, units);
    return d % 2 == 0 && d <= kFinestTexelFraction;
}

// Whether the kept picture may be the world's size, a texel a unit, rather than the
// window's: where the fit magnifies a one-to-one image and samples it clear of texel
// edges, that picture sampled at the pixels gives the pixels the image gives, and it
// is smaller to keep and to read.
bool keepsAtWorldSize(const sf::RectangleShape& background, const sf::IntRect& area) {
    return mapsOneToOne(background) && area.width >= kWorldWidth &&
           samplesClearOfTexelEdges(area.width, static_cast<int>(kWorldWidth)) &&
           samplesClearOfTexelEdges(area.height, static_cast<int>(kWorldHeight));
}

// A piece of the kept background: each corner takes the texel of the pixel it falls on.
void appendBackground(std::vector<sf::Vertex>& out, const sf::Transform& toPixels, Box at) {
    const sf::Vector2f from = toPixels.transformPoint(at.left, at.top);
    const sf::Vector2f to = toPixels.transformPoint(at.right, at.bottom);
    appendQuad(out, at, sf::Color::White, Box{from.x, from.y, to.x, to.y});
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

void BatchedDraw::keepBackground(const Game& game, const sf::RenderTarget& target) {
    const sf::IntRect area = target.getViewport(target.getView());
    const bool worldSize = keepsAtWorldSize(game.background, area);
    const sf::Vector2u size = worldSize ? sf::Vector2u(sf::Vector2f(kWorldWidth, kWorldHeight)) : target.getSize();
    const KeptFor now{size, area, game.background.getTexture(), game.background.getTextureRect(),
                      game.background.getFillColor()};
    if (now == keptFor)
        return;
    keptFor = now;
    if (keptBackground.getSize() != now.size)
        keptBackground.create(now.size.x, now.size.y);
    keptBackground.setView(worldSize ? keptBackground.getDefaultView() : target.getView());
    toKeptPixels = worldSize ? sf::Transform::Identity : worldToPixels(target);
    keptBackground.clear(sf::Color::Black);
    keptBackground.draw(game.background);
    keptBackground.display();
}

void BatchedDraw::draw(const Game& game, sf::RenderTarget& target) {
    keepBackground(game, target);
    backdrop.clear();
    bricks.clear();
    labels.clear();
    appendAroundTheWall(game);
    const sf::Texture* glyphs = appendBodiesAndLabels(game);

    // The kept picture is opaque: copied without blending, the renderer neither reads the
    // window back nor paints the clear under it.
    target.draw(backdrop.data(), backdrop.size(), sf::Triangles,
                sf::RenderStates(sf::BlendNone, sf::Transform::Identity, &keptBackground.getTexture(), nullptr));
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
    const float wallTop = cells(0, 0, 0).top;
    const float wallBottom = cells(0, 0, kGridRows).top;
    appendBackground(backdrop, toKeptPixels, Box{0.f, 0.f, kWorldWidth, wallTop});
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
                appendBackground(backdrop, toKeptPixels, cells(from, col, row));
            }
        }
    }
    appendBackground(backdrop, toKeptPixels, Box{0.f, wallBottom, kWorldWidth, kWorldHeight});
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
