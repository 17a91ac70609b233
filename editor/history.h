#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace runtime {
class BinaryFile;
}

// The window's writes to the open font, each kept as the exact bytes it replaced and the bytes
// it left, so that it can be taken back and made again in place.
namespace editor {

class History {
public:
    enum class Kind : std::uint8_t { StoreGlyph, SaveFontParameters, FitGlyph, FitAllGlyphs, DrawGlyphs };
    struct Step {
        Kind kind = Kind::StoreGlyph;
        std::int16_t glyph = 0;  // the glyph written, the first one of a batch; 0 for the header
    };
    // Bytes of the font a write may change.
    struct Range {
        std::uint64_t offset = 0;
        std::size_t size = 0;
    };

    // Runs write, which changes nothing of the font outside the ranges, and keeps what they held
    // before and after it as one step, dropping every step that had been undone. A write that
    // fails is no step, and what it wrote before it failed is put back; neither is one that left
    // every byte as it was, since taking it back would show the user nothing.
    void RecordWrite(const std::filesystem::path& font, Step step, std::vector<Range> ranges,
                     const std::function<void()>& write);

    // The same for a write that also replaces the texture's file whole, which goes first: the
    // texture's bytes become part of the step, and a write of the records that fails puts them
    // back. Only the last kTextureSteps such steps are kept, since each holds two textures: one
    // more forgets the oldest of them and every step before it.
    static constexpr std::size_t kTextureSteps = 4;
    struct TextureWrite {
        std::filesystem::path path;
        std::vector<std::byte> before;
        std::vector<std::byte> after;
    };
    void RecordWrite(const std::filesystem::path& font, Step step, std::vector<Range> ranges, TextureWrite texture,
                     const std::function<void()>& write);

    // The bytes an undo or a redo is about to write at an offset.
    struct Change {
        std::uint64_t offset = 0;
        std::span<const std::byte> bytes;
    };
    // Judges the changes on the file as it is, and throws to refuse them.
    using ReplayCheck = std::function<void(runtime::BinaryFile& file, std::span<const Change> changes)>;

    // Both write a step's bytes only when the file holds, in all of the step's ranges, exactly
    // the bytes the other direction left there, and refuse otherwise before the first write with a
    // Failure of kind ChangedOutside: the file was changed, shortened, removed or made read-only
    // by someone else. A step with a texture wants it whole as it was left too, else TextureChanged.
    // Then check, when given, may refuse them too, still before the first write. A replay that
    // fails half way is put back as a write is. Nothing when there is no step to take back or
    // make again.
    std::optional<Step> Undo(const std::filesystem::path& font, const ReplayCheck& check = {});
    std::optional<Step> Redo(const std::filesystem::path& font, const ReplayCheck& check = {});

    // The texture the step an undo (or a redo) would replay rewrote, if it rewrote one.
    std::filesystem::path TextureOfNext(bool undo) const;

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    void Clear();

private:
    // The steps and their bytes lie in three flat arrays that only ever grow or shrink at the
    // end, so a step costs no allocation of its own.
    struct StepEntry {
        Step step;
        std::uint32_t firstPatch;
        std::optional<TextureWrite> texture;
    };
    struct Patch {
        std::uint64_t offset;
        std::uint64_t bytesAt;  // into bytes_: the size bytes before the write, then the ones after
        std::uint32_t size;
    };

    std::span<const Patch> PatchesOf(std::size_t step) const;
    void Record(const std::filesystem::path& font, Step step, std::vector<Range> ranges, std::optional<TextureWrite> texture,
                const std::function<void()>& write);
    void Replay(const std::filesystem::path& font, std::size_t step, bool forward, const ReplayCheck& check);
    void ForgetOldest(std::size_t steps);

    std::vector<StepEntry> steps_;
    std::vector<Patch> patches_;
    std::vector<std::byte> bytes_;
    std::size_t done_ = 0;  // steps_[0, done_) are in the file; the rest were undone
};

}  // namespace editor
