// The editor's handlers for the mouse on Picture1 and on the magnifier.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "editor/editor.h"
#include "font/geometry.h"
#include "font/texture.h"
#include "runtime/failure.h"

namespace editor {
namespace {

// A press and a release at most this far apart, in screen pixels, are a click; the held edge
// starts to follow the mouse only past it.
constexpr std::int32_t kClickReach = 2;

Cursor CursorFor(Hold hold) {
    switch (hold) {
    case Hold::Left:
    case Hold::Right: return Cursor::SizeAcross;
    case Hold::Top: return Cursor::SizeUpDown;
    case Hold::Glyph: return Cursor::SizeAll;
    case Hold::Nothing: return Cursor::Arrow;
    }
    return Cursor::Arrow;
}

}  // namespace

bool Editor::CanDrag() const { return textureShown_ && frame2Enabled_ && glyphShown_; }

// The outline's sides where the surface shows them: Picture1 in the pixels its outline lights,
// the magnifier where the record puts them.
std::optional<Sides> Editor::SidesOn(Surface surface) const {
    if (surface == Surface::Picture1) {
        const std::optional<font::OutlineBox> box = font::OutlineBoxOf(shownGlyph_, font_.CellHeight);
        if (!box) return std::nullopt;
        return Sides{double(box->left), double(box->top), double(box->right), double(box->bottom)};
    }
    const MagnifierPicture shown = Magnifier();
    if (!shown.texture) return std::nullopt;
    return Sides{shown.ScreenX(shown.left), shown.ScreenY(shown.top), shown.ScreenX(shown.right), shown.ScreenY(shown.bottom)};
}

void Editor::PressPicture(Surface surface, std::int32_t x, std::int32_t y) {
    if (press_ || !textureShown_ || promptsOpen_ > 0) return;
    Hold hold = Hold::Nothing;
    if (CanDrag()) {
        if (const std::optional<Sides> sides = SidesOn(surface)) hold = HoldAt(*sides, x, y);
    }
    press_ = Press{surface, x, y, hold};
}

void Editor::MovePicture(Surface surface, std::int32_t x, std::int32_t y) {
    if (!press_) return UpdateCursor(surface, x, y);
    if (press_->surface != surface) return;
    if (FollowPress(x, y)) ShowDrag();
}

// The held edges where the mouse at (x, y) puts them; true when they change.
bool Editor::FollowPress(std::int32_t x, std::int32_t y) {
    Press& press = *press_;
    const std::int32_t across = x - press.x, down = y - press.y;
    // Each axis follows once it has gone past a click's wobble: moving the glyph up does not
    // also move it sideways.
    press.followsAcross = press.followsAcross || std::abs(across) > kClickReach;
    press.followsDown = press.followsDown || std::abs(down) > kClickReach;
    if (!drag_) {
        if (press.hold == Hold::Nothing || !(press.followsAcross || press.followsDown)) return false;
        drag_.emplace(press.hold, font::EdgeTexts{view_.Text(Box::Text1), view_.Text(Box::Text2), view_.Text(Box::Text3)},
                      decimalSeparator_);
    }
    const int scale = press.surface == Surface::Magnifier ? Magnifier().factor : 1;
    return drag_->Follow(press.followsAcross ? TravelInEditUnits(across, scale) : 0,
                         press.followsDown ? TravelInEditUnits(down, scale) : 0);
}

void Editor::ReleasePicture(Surface surface, std::int32_t x, std::int32_t y) {
    if (!press_ || press_->surface != surface) return;
    // No move need come before a release, and the last one may not have been where it is.
    FollowPress(x, y);
    const Press press = *std::exchange(press_, std::nullopt);
    if (!drag_) {
        if (std::max(std::abs(x - press.x), std::abs(y - press.y)) <= kClickReach) SelectGlyphAt(surface, press.x, press.y);
        return;
    }
    const EdgeDrag drag = *std::exchange(drag_, std::nullopt);
    if (!drag.Moved()) return ShowShownGlyph();
    // One store of the boxes as the last of the same clicks on the arrows would leave them.
    const font::EdgeTexts stored = drag.Stored();
    view_.SetText(Box::Text1, stored.Left);
    view_.SetText(Box::Text2, stored.Top);
    view_.SetText(Box::Text3, stored.Right);
    if (!StoreGlyph()) ShowShownGlyph();
    UpdateCursor(surface, x, y);
}

void Editor::CancelDrag() {
    press_.reset();
    if (!drag_) return;
    drag_.reset();
    ShowShownGlyph();
}

void Editor::AbandonDrag() {
    press_.reset();
    drag_.reset();
}

void Editor::UpdateCursor(Surface surface, std::int32_t x, std::int32_t y) {
    Hold hold = Hold::Nothing;
    if (CanDrag()) {
        if (const std::optional<Sides> sides = SidesOn(surface)) hold = HoldAt(*sides, x, y);
    }
    Cursor& shown = cursors_[static_cast<int>(surface)];
    if (CursorFor(hold) == shown) return;
    shown = CursorFor(hold);
    view_.SetCursor(surface, shown);
}

void Editor::SelectGlyphAt(Surface surface, std::int32_t x, std::int32_t y) {
    if (!textureShown_ || !selectorEnabled_ || font_.GlyphCount == 0) return;
    if (surface == Surface::Magnifier) {
        const MagnifierPicture shown = Magnifier();
        if (!shown.texture) return;
        x = static_cast<std::int32_t>(std::floor(shown.TextureX(x)));
        y = static_cast<std::int32_t>(std::floor(shown.TextureY(y)));
    }
    std::optional<std::int32_t> glyph;
    try {
        glyph = GlyphUnder(fontPath_, font_, x, y, view_.SelectorValue());
    } catch (const runtime::Failure& failure) {
        ShowFailure(Action::ShowGlyph, failure);
        return;
    }
    if (glyph && *glyph != view_.SelectorValue()) view_.SetSelectorValue(*glyph);  // the change refreshes the view
}

// The edges where the drag would leave them, drawn and written in the boxes; nothing is stored.
void Editor::ShowDrag() {
    const font::EdgeTexts shown = drag_->Shown();
    view_.SetText(Box::Text1, shown.Left);
    view_.SetText(Box::Text2, shown.Top);
    view_.SetText(Box::Text3, shown.Right);
    view_.ClearDrawing();
    const std::optional<font::OutlineBox> box = font::OutlineBoxOf(drag_->Edges(), font_.CellHeight);
    if (box) DrawOutlineAt(box->left, box->top, box->right + 3);
    MagnifierChanged();
}

// The glyph as the last refresh showed it, after a drag that writes nothing.
void Editor::ShowShownGlyph() {
    view_.SetText(Box::Text1, font::ToEditText(shownGlyph_.Left, decimalSeparator_));
    view_.SetText(Box::Text2, font::ToEditText(shownGlyph_.Top, decimalSeparator_));
    view_.SetText(Box::Text3, font::ToEditText(shownGlyph_.Right, decimalSeparator_));
    view_.ClearDrawing();
    DrawOutline();
    MagnifierChanged();
}

void Editor::LostMouse(Surface surface) {
    if (press_ && press_->surface == surface) CancelDrag();
}

bool Editor::PressKey(Surface focused, Key key) {
    switch (key) {
    case Key::Escape:
        if (!press_) return false;
        CancelDrag();
        return true;
    case Key::Plus:
    case Key::Minus:
        if (focused != Surface::Magnifier) return false;
        ZoomMagnifier(key == Key::Plus ? +1 : -1);
        return true;
    }
    return false;
}

bool Editor::TurnWheel(Surface surface, std::int32_t delta, bool control) {
    constexpr std::int32_t kNotch = 120;
    if (surface != Surface::Magnifier || !control) return false;
    // Fine wheels and touchpads send parts of a notch; a turn back starts afresh.
    if ((wheelRest_ > 0 && delta < 0) || (wheelRest_ < 0 && delta > 0)) wheelRest_ = 0;
    wheelRest_ += std::clamp(delta, -kNotch * kMaxMagnification, kNotch * kMaxMagnification);
    const std::int32_t notches = wheelRest_ / kNotch;
    wheelRest_ -= notches * kNotch;
    if (notches != 0) ZoomMagnifier(notches);
    return true;
}

void Editor::ToggleMagnifier() {
    if (magnifierOpen_) LostMouse(Surface::Magnifier);
    magnifierOpen_ = !magnifierOpen_;
    view_.ShowMagnifier(magnifierOpen_);
    MagnifierChanged();
}

void Editor::OnMagnifierClosed() {
    if (!magnifierOpen_) return;
    LostMouse(Surface::Magnifier);
    magnifierOpen_ = false;
    view_.ShowMagnifier(false);
}

void Editor::ZoomMagnifier(int steps) {
    // The drag's travel is measured at the factor it began with.
    if ((press_ && press_->surface == Surface::Magnifier) || promptsOpen_ > 0) return;
    const int factor = std::clamp(magnifierFactor_ + steps, kMinMagnification, kMaxMagnification);
    if (factor == magnifierFactor_) return;
    magnifierFactor_ = factor;
    MagnifierChanged();
}

void Editor::OnMagnifierResized(std::int32_t width, std::int32_t height) {
    magnifierWidth_ = width;
    magnifierHeight_ = height;
}

MagnifierPicture Editor::Magnifier() const {
    if (!textureShown_ || !glyphShown_ || !texture_) return {.factor = magnifierFactor_};
    const font::GlyphRecord edges = drag_ ? drag_->Edges() : shownGlyph_;
    return FrameGlyph(shownTexture_, shownGlyph_, font_.CellHeight, edges, magnifierFactor_, magnifierWidth_, magnifierHeight_);
}

MagnifierDrawing Editor::DrawMagnifier() const { return PaintMagnifier(Magnifier(), magnifierWidth_, magnifierHeight_); }

void Editor::MagnifierChanged() {
    if (magnifierOpen_) view_.RedrawMagnifier();
}

}  // namespace editor
