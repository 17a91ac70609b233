#include "glyphs/render_plan.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <set>

#include "font/geometry.h"
#include "picture/ink.h"
#include "runtime/checked.h"
#include "runtime/failure.h"

namespace glyphs {
namespace {

constexpr picture::Rgba kWhite{255, 255, 255, 255};
constexpr int kEditUnitsPerTexture = 256;

runtime::Failure Refused(const std::string& why) { return runtime::Failure(runtime::FailureKind::Malformed, why); }

PixelRect Clamped(PixelRect r, const picture::Image& texture) {
    r.left = std::clamp(r.left, 0, texture.width);
    r.right = std::clamp(r.right, 0, texture.width);
    r.top = std::clamp(r.top, 0, texture.height);
    r.bottom = std::clamp(r.bottom, 0, texture.height);
    return r;
}

bool Inside(const PixelRect& r, const picture::Image& texture) {
    return r.left >= 0 && r.top >= 0 && r.right <= texture.width && r.bottom <= texture.height && r.left <= r.right;
}

bool ContainsRect(const PixelRect& outer, const PixelRect& inner) {
    return inner.Empty() || (inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top && inner.bottom <= outer.bottom);
}

PixelRect Intersection(const PixelRect& a, const PixelRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

// Pixels set to one colour two at a time, as a word made in a register: std::fill_n sets them one
// by one, and a block of them built in memory first would be read back before its stores land.
void FillRow(picture::Rgba* at, int count, picture::Rgba colour) {
    const std::uint64_t one = std::bit_cast<std::uint32_t>(colour);
    const std::uint64_t two = one << 32 | one;
    for (; count >= 2; count -= 2, at += 2) std::memcpy(static_cast<void*>(at), &two, sizeof two);
    if (count == 1) *at = colour;
}

// Whether no two of the rectangles share a pixel.
bool Apart(std::vector<PixelRect> rects) {
    std::erase_if(rects, [](const PixelRect& r) { return r.Empty(); });
    std::sort(rects.begin(), rects.end(), [](const PixelRect& a, const PixelRect& b) { return a.top < b.top; });
    for (std::size_t i = 0; i < rects.size(); ++i) {
        for (std::size_t j = i + 1; j < rects.size() && rects[j].top < rects[i].bottom; ++j) {
            if (rects[i].Intersects(rects[j])) return false;
        }
    }
    return true;
}

// Counts of occupied pixels over every rectangle from the top left corner: whether a rectangle
// is free is then four look-ups, whatever its size.
class Occupancy {
public:
    Occupancy(int width, int height) : width_(width), sums_(static_cast<std::size_t>(width + 1) * static_cast<std::size_t>(height + 1)) {}
    void Build(const std::vector<std::uint8_t>& occupied, int height) {
        for (int y = 0; y < height; ++y) {
            std::uint32_t row = 0;
            for (int x = 0; x < width_; ++x) {
                row += occupied[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
                At(x + 1, y + 1) = At(x + 1, y) + row;
            }
        }
    }
    bool Free(const PixelRect& r) const {
        return At(r.right, r.bottom) + At(r.left, r.top) == At(r.left, r.bottom) + At(r.right, r.top);
    }

private:
    std::uint32_t& At(int x, int y) { return sums_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_ + 1) + static_cast<std::size_t>(x)]; }
    std::uint32_t At(int x, int y) const { return sums_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_ + 1) + static_cast<std::size_t>(x)]; }
    int width_;
    std::vector<std::uint32_t> sums_;
};

// The glyphs' rectangles by the squares of the texture they cover, so that those meeting a
// rectangle are found among its neighbours rather than among every glyph. A rectangle that
// reaches past the texture is a neighbour of every other: two may meet off the texture.
class RectIndex {
public:
    RectIndex(const std::vector<std::optional<PixelRect>>& rects, const picture::Image& texture)
        : texture_(texture), columns_((texture.width + kSide - 1) / kSide),
          cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>((texture.height + kSide - 1) / kSide)),
          seen_(rects.size(), false) {
        for (std::size_t i = 0; i < rects.size(); ++i) {
            if (rects[i]) Add(i, *rects[i]);
        }
    }

    void Move(std::size_t index, const std::optional<PixelRect>& from, const PixelRect& to) {
        if (from) ForLists(*from, [&](std::vector<std::size_t>& list) { list.erase(std::find(list.begin(), list.end(), index)); });
        Add(index, to);
    }

    // Every rectangle that may meet r (and some that do not), by rising index, each once.
    const std::vector<std::size_t>& Near(const PixelRect& r) {
        near_.clear();
        if (r.Empty()) return near_;
        const auto take = [&](const std::vector<std::size_t>& list) {
            for (const std::size_t i : list) {
                if (!seen_[i]) seen_[i] = true, near_.push_back(i);
            }
        };
        take(outside_);
        ForCells(Clamped(r, texture_), take);
        for (const std::size_t i : near_) seen_[i] = false;
        std::sort(near_.begin(), near_.end());
        return near_;
    }

private:
    static constexpr int kSide = 32;

    template <typename Visit>
    void ForCells(const PixelRect& r, Visit visit) {
        if (r.Empty()) return;
        for (int y = r.top / kSide; y <= (r.bottom - 1) / kSide; ++y) {
            for (int x = r.left / kSide; x <= (r.right - 1) / kSide; ++x) visit(cells_[static_cast<std::size_t>(y * columns_ + x)]);
        }
    }
    // The lists that hold r: none for an empty one, which meets nothing.
    template <typename Visit>
    void ForLists(const PixelRect& r, Visit visit) {
        if (r.Empty()) return;
        if (!Inside(r, texture_)) visit(outside_);
        else ForCells(r, visit);
    }
    void Add(std::size_t index, const PixelRect& r) {
        ForLists(r, [&](std::vector<std::size_t>& list) { list.push_back(index); });
    }

    const picture::Image& texture_;
    int columns_;
    std::vector<std::vector<std::size_t>> cells_;
    std::vector<std::size_t> outside_;
    std::vector<bool> seen_;
    std::vector<std::size_t> near_;
};

// The most frequent colour that is not the background.
std::optional<picture::Rgba> MostFrequentInk(const picture::Image& texture, picture::Rgba background) {
    std::map<std::uint32_t, std::size_t> counts;
    std::optional<picture::Rgba> best;
    std::size_t bestCount = 0;
    const picture::Rgba* const end = texture.pixels.data() + texture.pixels.size();
    // Mostly background: skipped eight pixels at a time, as four words.
    const auto pair = std::bit_cast<std::uint64_t>(std::array<picture::Rgba, 2>{background, background});
    for (const picture::Rgba* at = texture.pixels.data(); at != end; ++at) {
        while (end - at >= 8) {
            std::array<std::uint64_t, 4> words;
            std::memcpy(words.data(), at, sizeof words);
            if (((words[0] ^ pair) | (words[1] ^ pair) | (words[2] ^ pair) | (words[3] ^ pair)) != 0) break;
            at += 8;
        }
        if (at == end) break;
        const picture::Rgba& p = *at;
        if (p == background) continue;
        const std::uint32_t key = std::uint32_t{p.r} << 24 | std::uint32_t{p.g} << 16 | std::uint32_t{p.b} << 8 | p.a;
        if (++counts[key] > bestCount) {
            bestCount = counts[key];
            best = p;
        }
    }
    return best;
}

// The ink's reach over every glyph that has ink, at one size.
struct InkExtent {
    bool any = false;
    int highest = std::numeric_limits<int>::min();
    int lowest = std::numeric_limits<int>::max();
    char32_t highestCharacter = 0;
    char32_t lowestCharacter = 0;
};

InkExtent ExtentAt(const Typeface& face, const std::vector<PlannedGlyph>& glyphs, const RasterStyle& style) {
    InkExtent extent;
    std::map<std::uint32_t, GlyphBox> measured;
    for (const PlannedGlyph& g : glyphs) {
        auto it = measured.find(g.glyph);
        if (it == measured.end()) it = measured.emplace(g.glyph, face.Measure(g.glyph, style)).first;
        const GlyphBox& box = it->second;
        if (!box.HasInk()) continue;
        extent.any = true;
        if (box.top > extent.highest) extent.highest = box.top, extent.highestCharacter = g.character;
        if (box.Bottom() < extent.lowest) extent.lowest = box.Bottom(), extent.lowestCharacter = g.character;
    }
    return extent;
}

bool Fits(const InkExtent& extent, std::optional<int> baseline, int cellRows) {
    if (!extent.any) return true;
    if (baseline) return extent.highest <= *baseline && *baseline - extent.lowest <= cellRows;
    return extent.highest - extent.lowest <= cellRows;
}

float TextureUnits(double editUnits) { return static_cast<float>(editUnits / kEditUnitsPerTexture); }

}  // namespace

std::string Named(const std::vector<const PlannedGlyph*>& glyphs) {
    std::string names;
    for (const PlannedGlyph* g : glyphs) names.append(names.empty() ? "" : ", ").append(std::to_string(g->index + 1)).append(" ").append(CharacterName(g->character));
    return names;
}

std::optional<PixelRect> RectOf(const font::GlyphRecord& record, float cellHeight, const picture::Image& texture) {
    const auto fits = [](double pixels) { return runtime::FitsInt32(std::floor(pixels)) && runtime::FitsInt32(std::ceil(pixels)); };
    const auto width = static_cast<double>(texture.width), height = static_cast<double>(texture.height);
    if (!fits(record.Left * width) || !fits(record.Right * width) || !fits(record.Top * height) ||
        !fits(std::trunc(record.Top * height) + cellHeight * height)) {
        return std::nullopt;
    }
    const std::int32_t top = font::ToTexturePixel(record.Top, texture.height);
    return PixelRect{font::ToTexturePixel(record.Left, texture.width), top, font::ToTexturePixel(record.Right, texture.width),
                     font::TextureBottomRow(top, cellHeight, texture.height)};
}


std::vector<const PlannedGlyph*> RenderPlan::WithoutRoom() const {
    std::vector<const PlannedGlyph*> found;
    for (const PlannedGlyph& g : glyphs) if (g.placement == Placement::NoRoom) found.push_back(&g);
    return found;
}

std::vector<const PlannedGlyph*> RenderPlan::Clipped() const {
    std::vector<const PlannedGlyph*> found;
    for (const PlannedGlyph& g : glyphs) if (g.clippedRows > 0 || g.clippedColumns > 0) found.push_back(&g);
    return found;
}

RenderPlan PlanRender(const Typeface& face, const TableView& table, const picture::Image& texture,
                      const std::vector<CharAssignment>& assignments, const RenderSettings& settings, bool wantSpace) {
    RenderPlan plan;
    plan.settings = settings;
    const std::vector<font::GlyphRecord>& records = *table.glyphs;
    const double cellPixels = double{table.cellHeight} * texture.height;
    if (!(cellPixels >= 1) || cellPixels > texture.height) {
        throw Refused("the font's CellHeight is " + std::to_string(cellPixels) + " pixels of the texture: no cell to draw into");
    }
    plan.cellRows = static_cast<int>(std::floor(cellPixels));

    // Which glyph of the face draws each character; every missing one is named at once.
    std::string missing;
    for (const CharAssignment& a : assignments) {
        if (a.index < 0 || a.index >= static_cast<std::int32_t>(records.size())) throw Refused("glyph " + std::to_string(a.index + 1) + " is not in the table");
        PlannedGlyph g;
        g.index = a.index;
        g.character = a.character;
        g.glyph = face.GlyphFor(a.character);
        if (g.glyph == 0) missing.append(missing.empty() ? "" : ", ").append(CharacterName(a.character));
        plan.glyphs.push_back(g);
    }
    const std::uint32_t spaceGlyph = wantSpace ? face.GlyphFor(U' ') : 0;
    if (wantSpace && spaceGlyph == 0) missing.append(missing.empty() ? "" : ", ").append(CharacterName(U' ')).append(" for --space");
    if (!missing.empty()) throw Refused(face.name() + ": no glyph for " + missing);
    std::stable_sort(plan.glyphs.begin(), plan.glyphs.end(), [](const PlannedGlyph& a, const PlannedGlyph& b) { return a.index < b.index; });
    for (std::size_t i = 1; i < plan.glyphs.size(); ++i) {
        if (plan.glyphs[i].index == plan.glyphs[i - 1].index) throw Refused("glyph " + std::to_string(plan.glyphs[i].index + 1) + " is named twice");
    }

    // The size: given, or the largest at which the ink of all of them fits the cell.
    RasterStyle style{settings.px.value_or(1), settings.hinting, settings.mono};
    if (!settings.px) {
        plan.pxChosen = true;
        const auto fitsAt = [&](int px) {
            style.px = px;
            return Fits(ExtentAt(face, plan.glyphs, style), settings.baseline, plan.cellRows);
        };
        int low = 1;
        int high = 2 * plan.cellRows + 2;  // no face's ink is this much shorter than its em
        if (fitsAt(high)) {
            low = high;
        } else {
            while (high - low > 1) {
                const int middle = low + (high - low) / 2;
                (fitsAt(middle) ? low : high) = middle;
            }
            style.px = low + 1;
            const InkExtent next = ExtentAt(face, plan.glyphs, style);
            plan.highestAtNextSize = next.highestCharacter;
            plan.lowestAtNextSize = next.lowestCharacter;
        }
        style.px = low;
    }
    plan.px = style.px;
    for (PlannedGlyph& g : plan.glyphs) g.box = face.Draw(g.glyph, style).box;  // drawn now, kept for DrawPlan
    if (wantSpace) plan.spaceWidth = static_cast<float>(static_cast<double>(face.Measure(spaceGlyph, style).advance) / texture.width);
    if (settings.baseline) {
        plan.baseline = *settings.baseline;
    } else {
        std::optional<int> highest;
        for (const PlannedGlyph& g : plan.glyphs) {
            if (g.box.HasInk()) highest = std::max(highest.value_or(g.box.top), g.box.top);
        }
        plan.baseline = highest.value_or(0);
    }

    plan.background = picture::MostFrequentColour(texture);
    plan.ink = settings.colour ? *settings.colour : MostFrequentInk(texture, plan.background).value_or(kWhite);

    // What lies on the texture now: ink, and every glyph's rectangle. The occupancy is only
    // needed once a glyph looks for free space, which most renders never do.
    std::vector<std::optional<PixelRect>> current(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) current[i] = RectOf(records[i], table.cellHeight, texture);
    std::optional<Occupancy> occupancy;
    const auto occupied = [&]() -> const Occupancy& {
        if (occupancy) return *occupancy;
        std::vector<std::uint8_t> taken(texture.pixels.size());
        const std::uint32_t background = std::bit_cast<std::uint32_t>(plan.background);
        for (std::size_t i = 0; i < taken.size(); ++i) taken[i] = std::bit_cast<std::uint32_t>(texture.pixels[i]) != background;
        for (const std::optional<PixelRect>& rect : current) {
            if (!rect) continue;
            const PixelRect r = Clamped(*rect, texture);
            for (int y = r.top; y < r.bottom; ++y) std::fill_n(taken.begin() + y * texture.width + r.left, r.right - r.left, std::uint8_t{1});
        }
        occupancy.emplace(texture.width, texture.height);
        occupancy->Build(taken, texture.height);
        return *occupancy;
    };
    std::vector<PixelRect> placed;  // new rectangles so far, which the occupancy does not know
    RectIndex index(current, texture);

    for (PlannedGlyph& g : plan.glyphs) {
        const font::GlyphRecord& old = records[static_cast<std::size_t>(g.index)];
        g.oldRect = current[static_cast<std::size_t>(g.index)];
        // The rectangle's width: the advance, widened to any ink that reaches past it, or the
        // ink and its padding.
        int inkLeft = 0;
        int widthPixels = 0;
        if (settings.width == WidthRule::Advance) {
            inkLeft = g.box.HasInk() ? std::min(0, g.box.left) : 0;
            widthPixels = (g.box.HasInk() ? std::max(g.box.advance, g.box.Right()) : std::max(g.box.advance, 0)) - inkLeft;
            g.originX = -inkLeft;
        } else {
            widthPixels = (g.box.HasInk() ? g.box.width : 0) + 2 * settings.pad;
            g.originX = settings.pad - (g.box.HasInk() ? g.box.left : 0);
        }
        g.widthEditUnits = (2 * widthPixels * kEditUnitsPerTexture + texture.width) / (2 * texture.width);

        // In place: from its own Left and Top, if that stays on the texture and covers nothing
        // of another glyph that the old rectangle did not.
        std::optional<PixelRect> inPlace;
        font::GlyphRecord record = old;
        if (g.oldRect && std::isfinite(old.Left)) {
            record.Right = TextureUnits(double{old.Left} * kEditUnitsPerTexture + g.widthEditUnits);
            if (const std::optional<PixelRect> r = RectOf(record, table.cellHeight, texture); r && Inside(*r, texture)) {
                bool fits = true;
                for (const std::size_t j : index.Near(*r)) {
                    if (j != static_cast<std::size_t>(g.index) && current[j] && !ContainsRect(*g.oldRect, Intersection(*r, *current[j]))) fits = false;
                }
                if (fits) inPlace = r;
            }
        }
        if (inPlace) {
            g.placement = Placement::InPlace;
            g.rect = *inPlace;
        } else {
            // Free space: row by row, left to right, on whole edit units of the texture's size.
            for (int top = 0; g.placement == Placement::NoRoom && top < kEditUnitsPerTexture; ++top) {
                for (int left = 0; left + g.widthEditUnits <= kEditUnitsPerTexture; ++left) {
                    record.Left = TextureUnits(left);
                    record.Top = TextureUnits(top);
                    record.Right = TextureUnits(left + g.widthEditUnits);
                    const PixelRect r = *RectOf(record, table.cellHeight, texture);
                    if (r.bottom > texture.height) break;
                    const PixelRect spaced = Clamped({r.left - settings.spacing, r.top - settings.spacing, r.right + settings.spacing, r.bottom + settings.spacing}, texture);
                    if (!occupied().Free(spaced)) continue;
                    if (std::any_of(placed.begin(), placed.end(), [&](const PixelRect& p) { return p.Intersects(spaced); })) continue;
                    g.placement = Placement::Moved;
                    g.rect = r;
                    break;
                }
            }
            if (g.placement == Placement::NoRoom) record = old;
        }
        if (g.placement == Placement::NoRoom) continue;
        record.Aspect = font::ComputeAspect(record.Left, record.Right, table.cellHeight);
        g.record = record;
        index.Move(static_cast<std::size_t>(g.index), current[static_cast<std::size_t>(g.index)], g.rect);
        current[static_cast<std::size_t>(g.index)] = g.rect;
        placed.push_back(g.rect);

        // Ink the cell or the rectangle cuts.
        if (g.box.HasInk()) {
            const int firstRow = plan.baseline - g.box.top;
            const int cellBottom = g.rect.bottom - g.rect.top;
            g.clippedRows = std::max(0, -firstRow) + std::max(0, firstRow + g.box.rows - cellBottom);
            const int firstColumn = g.originX + g.box.left;
            g.clippedColumns = std::max(0, -firstColumn) + std::max(0, firstColumn + g.box.width - (g.rect.right - g.rect.left));
            g.clippedRows = std::min(g.clippedRows, g.box.rows);
            g.clippedColumns = std::min(g.clippedColumns, g.box.width);
        }
    }

    // What stays when the old rectangles are cleared: the old image goes, in place too, where it
    // reaches past the new rectangle, but not from under another glyph.
    for (const PlannedGlyph& g : plan.glyphs) {
        if (g.placement == Placement::NoRoom || !g.oldRect) continue;
        for (const std::size_t j : index.Near(*g.oldRect)) {
            if (j != static_cast<std::size_t>(g.index) && current[j] && current[j]->Intersects(*g.oldRect)) plan.keptOverOld.push_back(*current[j]);
        }
    }
    return plan;
}

void DrawPlan(const Typeface& face, const RenderPlan& plan, picture::Image& texture) {
    if (!plan.WithoutRoom().empty()) throw Refused("some glyphs found no room: the plan cannot be drawn");
    // A copy: a store through the texture's pixels could change the plan's, as far as the
    // compiler knows, which would keep it from filling many pixels at once.
    const picture::Rgba background = plan.background;
    std::vector<PixelRect> kept;
    for (const PlannedGlyph& g : plan.glyphs) {
        if (!g.oldRect) continue;
        const PixelRect r = Clamped(*g.oldRect, texture);
        // Where its new rectangle lies, which is cleared below in any case.
        const PixelRect again = Intersection(r, Clamped(g.rect, texture));
        kept.clear();
        for (const PixelRect& k : plan.keptOverOld) if (k.Intersects(r)) kept.push_back(k);
        for (int y = r.top; y < r.bottom; ++y) {
            if (kept.empty() && !again.Empty() && y >= again.top && y < again.bottom) {
                FillRow(&texture.At(r.left, y), again.left - r.left, background);
                FillRow(&texture.At(again.right, y), r.right - again.right, background);
                continue;
            }
            if (kept.empty()) {  // the rule: nothing of another glyph lies there
                FillRow(&texture.At(r.left, y), r.right - r.left, background);
                continue;
            }
            for (int x = r.left; x < r.right; ++x) {
                if (std::none_of(kept.begin(), kept.end(), [&](const PixelRect& k) { return k.Contains(x, y); })) texture.At(x, y) = background;
            }
        }
    }
    const RasterStyle style{plan.px, plan.settings.hinting, plan.settings.mono};
    const picture::Rgba ink = plan.ink;
    const auto blend = [](std::uint8_t under, std::uint8_t over, unsigned coverage) {
        return static_cast<std::uint8_t>((under * (255 - coverage) + over * coverage + 127) / 255);
    };
    // One colour for each coverage, worked out once rather than for every pixel.
    std::array<std::uint32_t, 256> shade;
    for (unsigned coverage = 0; coverage < shade.size(); ++coverage) {
        shade[coverage] = std::bit_cast<std::uint32_t>(
            plan.settings.alpha ? picture::Rgba{ink.r, ink.g, ink.b, static_cast<std::uint8_t>(coverage)}
                                : picture::Rgba{blend(background.r, ink.r, coverage), blend(background.g, ink.g, coverage),
                                                blend(background.b, ink.b, coverage), background.a});
    }
    // On a pixel just cleared: the background where the coverage is 0.
    std::array<std::uint32_t, 256> onBackground = shade;
    onBackground[0] = std::bit_cast<std::uint32_t>(background);

    // Where a glyph's image row falls in texture row y inside its clamped rectangle r: the texture
    // columns from left up to right, and the coverage of the first; no coverage where none does.
    struct Span {
        int left = 0;
        int right = 0;
        const std::uint8_t* coverage = nullptr;
    };
    const auto spanAt = [&](const PlannedGlyph& g, const GlyphImage* image, const PixelRect& r, int y) {
        if (!image) return Span{};
        const int x0 = g.rect.left + g.originX + image->box.left;
        const int row = y - (g.rect.top + plan.baseline - image->box.top);
        if (row < 0 || row >= image->box.rows) return Span{};
        const int firstColumn = std::max(0, r.left - x0), endColumn = std::min(image->box.width, r.right - x0);
        if (firstColumn >= endColumn) return Span{};
        return Span{x0 + firstColumn, x0 + endColumn, &image->coverage[static_cast<std::size_t>(row * image->box.width + firstColumn)]};
    };

    std::vector<PixelRect> rects;
    for (const PlannedGlyph& g : plan.glyphs) rects.push_back(Clamped(g.rect, texture));
    if (Apart(rects)) {
        // With no two rectangles sharing a pixel, each row of one is written once, cleared and
        // drawn together: what clearing them all first and then drawing would give.
        for (std::size_t i = 0; i < plan.glyphs.size(); ++i) {
            const PlannedGlyph& g = plan.glyphs[i];
            const PixelRect& r = rects[i];
            const GlyphImage* image = g.box.HasInk() ? &face.Draw(g.glyph, style) : nullptr;
            for (int y = r.top; y < r.bottom; ++y) {
                const Span span = spanAt(g, image, r, y);
                if (!span.coverage) {
                    FillRow(&texture.At(r.left, y), r.right - r.left, background);
                    continue;
                }
                FillRow(&texture.At(r.left, y), span.left - r.left, background);
                picture::Rgba* out = &texture.At(span.left, y);
                for (int x = 0; x < span.right - span.left; ++x) std::memcpy(static_cast<void*>(out + x), &onBackground[span.coverage[x]], 4);
                FillRow(&texture.At(span.right, y), r.right - span.right, background);
            }
        }
        return;
    }
    for (const PixelRect& r : rects) {
        for (int y = r.top; y < r.bottom; ++y) FillRow(&texture.At(r.left, y), r.right - r.left, background);
    }
    for (std::size_t i = 0; i < plan.glyphs.size(); ++i) {
        const PlannedGlyph& g = plan.glyphs[i];
        if (!g.box.HasInk()) continue;
        const GlyphImage* image = &face.Draw(g.glyph, style);
        for (int y = rects[i].top; y < rects[i].bottom; ++y) {
            const Span span = spanAt(g, image, rects[i], y);
            picture::Rgba* out = span.coverage ? &texture.At(span.left, y) : nullptr;
            // Read and written whether inked or not, chosen without a branch: the coverage turns
            // at every edge of a stroke, where a branch guesses wrong.
            for (int x = 0; x < span.right - span.left; ++x) {
                const std::uint8_t c = span.coverage[x];
                std::uint32_t pixel = 0;
                std::memcpy(&pixel, out + x, sizeof pixel);
                pixel = c != 0 ? shade[c] : pixel;
                std::memcpy(static_cast<void*>(out + x), &pixel, sizeof pixel);
            }
        }
    }
}

}  // namespace glyphs
