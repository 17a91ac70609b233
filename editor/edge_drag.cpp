#include "editor/edge_drag.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "runtime/binary_file.h"
#include "runtime/conversions.h"
#include "runtime/failure.h"

namespace editor {
namespace {

// Far beyond any screen: a travel past it is taken as this far.
constexpr std::int32_t kMaxClicks = 1 << 20;

double Distance(double from, double to) { return std::fabs(from - to); }

bool Within(double v, double a, double b) { return v >= std::min(a, b) - kHoldReach && v <= std::max(a, b) + kHoldReach; }

}  // namespace

Hold HoldAt(const Sides& sides, double x, double y) {
    constexpr double kNone = std::numeric_limits<double>::infinity();
    const bool besideSides = Within(y, sides.top, sides.bottom);
    const double left = besideSides ? Distance(x, sides.left) : kNone;
    const double right = besideSides ? Distance(x, sides.right) : kNone;
    const double top = Within(x, sides.left, sides.right) ? Distance(y, sides.top) : kNone;
    const double nearest = std::min({left, right, top});
    if (nearest <= kHoldReach) {
        if (right == nearest) return Hold::Right;
        if (left == nearest) return Hold::Left;
        return Hold::Top;
    }
    const bool inside = x >= sides.left && x <= sides.right && y >= sides.top && y <= sides.bottom;
    return inside ? Hold::Glyph : Hold::Nothing;
}

EdgeLadder::EdgeLadder(const std::string& start, bool guarded, char decimalSeparator)
    : guarded_(guarded), decimalSeparator_(decimalSeparator) {
    Rung first{start, start, 0, 0};
    try {
        first.value = first.settled = font::FromEditText(start, decimalSeparator);
    } catch (const runtime::Failure&) {
        // A box the store cannot read stops every click before it writes.
        upEnded_ = downEnded_ = true;
    }
    up_.push_back(first);
    down_.push_back(std::move(first));
}

bool EdgeLadder::Climb(std::vector<Rung>& rungs, bool& ended, int step) {
    if (ended) return false;
    const std::string& box = rungs.back().shown;
    try {
        if (step > 0 && guarded_ && runtime::Val(box) >= 256) {
            ended = true;
            return false;
        }
        Rung next;
        next.stored = runtime::DoubleToText(runtime::TextToDouble(box, decimalSeparator_) + step, decimalSeparator_);
        next.value = font::FromEditText(next.stored, decimalSeparator_);
        next.shown = font::ToEditText(next.value, decimalSeparator_);
        next.settled = font::FromEditText(next.shown, decimalSeparator_);
        rungs.push_back(std::move(next));
        return true;
    } catch (const runtime::Failure&) {
        ended = true;  // the click's store would fail: no drag goes past it
        return false;
    }
}

std::int32_t EdgeLadder::Reach(std::int32_t wanted) {
    wanted = std::clamp(wanted, -kMaxClicks, kMaxClicks);
    const bool up = wanted > 0;
    std::vector<Rung>& rungs = up ? up_ : down_;
    bool& ended = up ? upEnded_ : downEnded_;
    const auto clicks = static_cast<std::size_t>(up ? wanted : -wanted);
    while (rungs.size() <= clicks && Climb(rungs, ended, up ? +1 : -1)) {
    }
    const auto reached = static_cast<std::int32_t>(std::min(clicks, rungs.size() - 1));
    return up ? reached : -reached;
}

const EdgeLadder::Rung& EdgeLadder::At(std::int32_t clicks) const {
    return clicks >= 0 ? up_.at(static_cast<std::size_t>(clicks)) : down_.at(static_cast<std::size_t>(-clicks));
}

EdgeDrag::EdgeDrag(Hold hold, const font::EdgeTexts& boxes, char decimalSeparator)
    : hold_(hold),
      decimalSeparator_(decimalSeparator),
      left_(boxes.Left, true, decimalSeparator),
      top_(boxes.Top, true, decimalSeparator),
      right_(boxes.Right, false, decimalSeparator) {}

bool EdgeDrag::Follow(std::int32_t acrossUnits, std::int32_t downUnits) {
    std::int32_t across = 0, down = 0;
    switch (hold_) {
    case Hold::Nothing: break;
    case Hold::Left: across = left_.Reach(acrossUnits); break;
    case Hold::Right: across = right_.Reach(acrossUnits); break;
    case Hold::Top: down = top_.Reach(downUnits); break;
    case Hold::Glyph: {
        // The glyph keeps its width: both sides stop where the first of them must.
        const std::int32_t left = left_.Reach(acrossUnits), right = right_.Reach(acrossUnits);
        across = std::abs(left) < std::abs(right) ? left : right;
        down = top_.Reach(downUnits);
        break;
    }
    }
    const bool changed = across != across_ || down != down_;
    across_ = across;
    down_ = down;
    return changed;
}

EdgeDrag::Clicks EdgeDrag::ClicksNow() const {
    const bool left = hold_ == Hold::Left || hold_ == Hold::Glyph, right = hold_ == Hold::Right || hold_ == Hold::Glyph;
    Clicks c{left ? across_ : 0, down_, right ? across_ : 0, false, false};
    c.rightSettled = c.top != 0;
    c.leftSettled = c.rightSettled || c.right != 0;
    return c;
}

font::EdgeTexts EdgeDrag::Shown() const {
    const Clicks c = ClicksNow();
    const auto shown = [this](const EdgeLadder::Rung& rung, bool settled) {
        return settled ? font::ToEditText(rung.settled, decimalSeparator_) : rung.shown;
    };
    return {shown(left_.At(c.left), c.leftSettled), top_.At(c.top).shown, shown(right_.At(c.right), c.rightSettled)};
}

font::EdgeTexts EdgeDrag::Stored() const {
    const Clicks c = ClicksNow();
    const auto stored = [](const EdgeLadder::Rung& rung, bool settled) { return settled ? rung.shown : rung.stored; };
    return {stored(left_.At(c.left), c.leftSettled), top_.At(c.top).stored, stored(right_.At(c.right), c.rightSettled)};
}

font::GlyphRecord EdgeDrag::Edges() const {
    const Clicks c = ClicksNow();
    const auto value = [](const EdgeLadder::Rung& rung, bool settled) { return settled ? rung.settled : rung.value; };
    return {value(left_.At(c.left), c.leftSettled), top_.At(c.top).value, value(right_.At(c.right), c.rightSettled), 0};
}

std::optional<std::int32_t> GlyphUnder(std::span<const font::GlyphRecord> glyphs, float cellHeight, std::int32_t x,
                                       std::int32_t y, std::int32_t selected) {
    const auto count = static_cast<std::int32_t>(glyphs.size());
    // A table that has shrunk behind the window is searched from its start.
    if (selected < 0 || selected >= count) selected = count - 1;
    for (std::int32_t step = 1; step <= count; ++step) {
        const std::int32_t index = selected + step < count ? selected + step : selected + step - count;
        if (font::OutlineCovers(glyphs[static_cast<std::size_t>(index)], cellHeight, x, y)) return index;
    }
    return std::nullopt;
}

std::optional<std::int32_t> GlyphUnder(const std::filesystem::path& path, const font::FontState& loaded, std::int32_t x,
                                       std::int32_t y, std::int32_t selected) {
    runtime::BinaryFile file = runtime::BinaryFile::OpenForReading(path);
    const font::FontTable table = font::ReadFontTable(file);
    if (table.state.TableBase != loaded.TableBase) return std::nullopt;
    const auto count = static_cast<std::size_t>(std::min(table.state.GlyphCount, loaded.GlyphCount));
    return GlyphUnder(std::span(table.glyphs).first(count), loaded.CellHeight, x, y, selected);
}

std::int32_t PixelUnder(double position, double scale) {
    constexpr double kFar = 1 << 30;  // beyond any screen, and within the type
    return static_cast<std::int32_t>(std::clamp(std::floor(position / scale), -kFar, kFar));
}

std::int32_t TravelInEditUnits(std::int32_t screenPixels, int scale) {
    return static_cast<std::int32_t>(std::lround(screenPixels / (2.0 * scale)));
}

}  // namespace editor
