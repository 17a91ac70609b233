#include "editor/history.h"

#include <algorithm>
#include <string>
#include <utility>

#include "runtime/binary_file.h"
#include "runtime/failure.h"

namespace editor {
namespace {

// Sorted, with touching and overlapping ranges joined: fewer writes, and one read covers all.
std::vector<History::Range> Joined(std::vector<History::Range> ranges) {
    std::erase_if(ranges, [](const History::Range& range) { return range.size == 0; });
    std::sort(ranges.begin(), ranges.end(), [](const auto& a, const auto& b) { return a.offset < b.offset; });
    std::vector<History::Range> joined;
    for (const History::Range& range : ranges) {
        if (!joined.empty() && range.offset <= joined.back().offset + joined.back().size) {
            const std::uint64_t end = std::max(joined.back().offset + joined.back().size, range.offset + range.size);
            joined.back().size = static_cast<std::size_t>(end - joined.back().offset);
        } else {
            joined.push_back(range);
        }
    }
    return joined;
}

// The bytes from the first range's start to the last one's end, in a single read.
std::vector<std::byte> ReadCovering(runtime::BinaryFile& file, std::uint64_t first, std::uint64_t end) {
    std::vector<std::byte> bytes(static_cast<std::size_t>(end - first));
    file.Read(first, bytes);
    return bytes;
}

runtime::Failure ChangedOutside(const std::filesystem::path& font, const std::string& how) {
    return runtime::Failure(runtime::FailureKind::ChangedOutside, runtime::DisplayPath(font) + " " + how);
}

runtime::Failure TextureChanged(const std::filesystem::path& texture, const std::string& how) {
    return runtime::Failure(runtime::FailureKind::TextureChanged, runtime::DisplayPath(texture) + " " + how);
}

// Puts back what a write that stopped half way had replaced, so that no half of a step stays in
// the font where no undo can reach it; the failure that stopped it is thrown again either way.
// A range the write never reached is left alone: where the write failed, so may its put-back.
[[noreturn]] void PutBackAndRethrow(const std::filesystem::path& font, const runtime::Failure& stopped,
                                    std::span<const std::pair<std::uint64_t, std::span<const std::byte>>> held) {
    try {
        runtime::BinaryFile file = runtime::BinaryFile::Open(font);
        for (const auto& [offset, bytes] : held) {
            std::vector<std::byte> now(bytes.size());
            file.Read(offset, now);
            if (!std::equal(bytes.begin(), bytes.end(), now.begin())) file.Write(offset, bytes);
        }
    } catch (const runtime::Failure& failure) {
        throw runtime::Failure(stopped.kind(), std::string(stopped.what()) +
                                                   "; what was written before that could not be put back: " + failure.what());
    }
    throw stopped;
}

[[noreturn]] void PutBackTextureAndRethrow(const std::filesystem::path& texture, std::span<const std::byte> before,
                                           const runtime::Failure& stopped) {
    try {
        runtime::WriteNewFile(texture, before);
    } catch (const runtime::Failure& failure) {
        throw runtime::Failure(stopped.kind(), std::string(stopped.what()) + "; the texture written before that could not be put back: " +
                                                   failure.what());
    }
    throw stopped;
}

}  // namespace

void History::RecordWrite(const std::filesystem::path& font, Step step, std::vector<Range> ranges,
                          const std::function<void()>& write) {
    Record(font, std::move(step), std::move(ranges), std::nullopt, write);
}

void History::RecordWrite(const std::filesystem::path& font, Step step, std::vector<Range> ranges, TextureWrite texture,
                          const std::function<void()>& write) {
    Record(font, std::move(step), std::move(ranges), std::move(texture), write);
}

void History::Record(const std::filesystem::path& font, Step step, std::vector<Range> ranges, std::optional<TextureWrite> texture,
                     const std::function<void()>& write) {
    ranges = Joined(std::move(ranges));
    // The texture first: a font whose records point at glyphs not yet drawn is worse than a
    // texture whose new glyphs no record points at yet.
    const std::function<void()> writeAll = !texture ? write : std::function<void()>([&] {
        runtime::WriteNewFile(texture->path, texture->after);
        try {
            write();
        } catch (const runtime::Failure& failure) {
            PutBackTextureAndRethrow(texture->path, texture->before, failure);
        }
    });
    if (ranges.empty()) {
        writeAll();
        return;
    }
    const std::uint64_t first = ranges.front().offset;
    const std::uint64_t end = ranges.back().offset + ranges.back().size;
    // One access reads both sides of the write, which makes its own: an open costs more than a read.
    runtime::BinaryFile file = runtime::BinaryFile::OpenForReading(font);
    const std::vector<std::byte> before = ReadCovering(file, first, end);
    try {
        writeAll();
    } catch (const runtime::Failure& failure) {
        if (ReadCovering(file, first, end) == before) throw;  // refused before its first write
        std::vector<std::pair<std::uint64_t, std::span<const std::byte>>> held;
        for (const Range& range : ranges) {
            held.emplace_back(range.offset, std::span(before).subspan(static_cast<std::size_t>(range.offset - first), range.size));
        }
        PutBackAndRethrow(font, failure, held);
    }
    const std::vector<std::byte> after = ReadCovering(file, first, end);
    if (before == after && (!texture || texture->before == texture->after)) return;

    // A new step ends the steps that were undone: they were made on bytes that are gone.
    if (CanRedo()) {
        const std::uint32_t firstDropped = steps_[done_].firstPatch;
        bytes_.resize(static_cast<std::size_t>(patches_[firstDropped].bytesAt));
        patches_.resize(firstDropped);
        steps_.resize(done_);
    }
    steps_.push_back({std::move(step), static_cast<std::uint32_t>(patches_.size()), std::move(texture)});
    for (const Range& range : ranges) {
        const auto at = static_cast<std::ptrdiff_t>(range.offset - first);
        const auto size = static_cast<std::ptrdiff_t>(range.size);
        patches_.push_back({range.offset, bytes_.size(), static_cast<std::uint32_t>(range.size)});
        bytes_.insert(bytes_.end(), before.begin() + at, before.begin() + at + size);
        bytes_.insert(bytes_.end(), after.begin() + at, after.begin() + at + size);
    }
    done_ = steps_.size();

    const auto withTexture = [](const StepEntry& entry) { return entry.texture.has_value(); };
    if (static_cast<std::size_t>(std::count_if(steps_.begin(), steps_.end(), withTexture)) > kTextureSteps) {
        const auto oldest = std::find_if(steps_.begin(), steps_.end(), withTexture);
        ForgetOldest(static_cast<std::size_t>(oldest - steps_.begin()) + 1);
    }
}

void History::ForgetOldest(std::size_t steps) {
    const std::uint32_t patches = steps < steps_.size() ? steps_[steps].firstPatch : static_cast<std::uint32_t>(patches_.size());
    const std::uint64_t bytes = patches < patches_.size() ? patches_[patches].bytesAt : bytes_.size();
    steps_.erase(steps_.begin(), steps_.begin() + static_cast<std::ptrdiff_t>(steps));
    patches_.erase(patches_.begin(), patches_.begin() + patches);
    bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(bytes));
    for (StepEntry& entry : steps_) entry.firstPatch -= patches;
    for (Patch& patch : patches_) patch.bytesAt -= bytes;
    done_ -= std::min(done_, steps);
}

std::optional<History::Step> History::Undo(const std::filesystem::path& font, const ReplayCheck& check) {
    if (!CanUndo()) return std::nullopt;
    Replay(font, done_ - 1, false, check);
    --done_;
    return steps_[done_].step;
}

std::optional<History::Step> History::Redo(const std::filesystem::path& font, const ReplayCheck& check) {
    if (!CanRedo()) return std::nullopt;
    Replay(font, done_, true, check);
    ++done_;
    return steps_[done_ - 1].step;
}

std::filesystem::path History::TextureOfNext(bool undo) const {
    const std::size_t step = undo ? done_ - 1 : done_;
    if (undo ? !CanUndo() : !CanRedo()) return {};
    return steps_[step].texture ? steps_[step].texture->path : std::filesystem::path();
}

void History::Clear() {
    steps_.clear();
    patches_.clear();
    bytes_.clear();
    done_ = 0;
}

std::span<const History::Patch> History::PatchesOf(std::size_t step) const {
    const std::size_t first = steps_[step].firstPatch;
    const std::size_t last = step + 1 < steps_.size() ? steps_[step + 1].firstPatch : patches_.size();
    return std::span<const Patch>(patches_).subspan(first, last - first);
}

void History::Replay(const std::filesystem::path& font, std::size_t step, bool forward, const ReplayCheck& check) {
    const std::span<const Patch> patches = PatchesOf(step);
    const std::optional<TextureWrite>& texture = steps_[step].texture;
    // Forward finds the bytes before the step and writes the ones after it; back the other way.
    const auto expected = [&](const Patch& patch) { return bytes_.data() + patch.bytesAt + (forward ? 0 : patch.size); };
    const auto wanted = [&](const Patch& patch) { return bytes_.data() + patch.bytesAt + (forward ? patch.size : 0); };

    std::optional<runtime::BinaryFile> file;
    std::uint64_t first = 0;
    std::uint64_t end = 0;
    std::vector<std::byte> now;
    if (!patches.empty()) {
        try {
            file.emplace(runtime::BinaryFile::Open(font));
        } catch (const runtime::Failure& failure) {
            throw ChangedOutside(font, std::string("cannot be opened: ") + failure.what());
        }
        if (!file->writable()) throw ChangedOutside(font, "is read-only now");
        first = patches.front().offset;
        end = patches.back().offset + patches.back().size;
        if (file->Size() < end) throw ChangedOutside(font, "is shorter than when it was written");
        now = ReadCovering(*file, first, end);
        for (const Patch& patch : patches) {
            if (!std::equal(expected(patch), expected(patch) + patch.size, now.begin() + static_cast<std::ptrdiff_t>(patch.offset - first))) {
                throw ChangedOutside(font, "no longer holds at offset " + std::to_string(patch.offset) + " what the window wrote there");
            }
        }
    }
    if (texture) {
        const std::vector<std::byte>& held = forward ? texture->before : texture->after;
        std::vector<std::byte> bytes;
        try {
            runtime::BinaryFile textureFile = runtime::BinaryFile::Open(texture->path);
            if (!textureFile.writable()) throw TextureChanged(texture->path, "is read-only now");
            bytes = textureFile.ReadAll();
        } catch (const runtime::Failure& failure) {
            if (failure.kind() == runtime::FailureKind::TextureChanged) throw;
            throw TextureChanged(texture->path, std::string("cannot be opened: ") + failure.what());
        }
        if (bytes != held) throw TextureChanged(texture->path, "no longer holds what the window wrote there");
    }
    if (check && file) {
        std::vector<Change> changes;
        for (const Patch& patch : patches) changes.push_back({patch.offset, std::span(wanted(patch), patch.size)});
        check(*file, changes);
    }
    if (texture) runtime::WriteNewFile(texture->path, forward ? texture->after : texture->before);
    for (std::size_t i = 0; i < patches.size(); ++i) {
        try {
            file->Write(patches[i].offset, std::span<const std::byte>(wanted(patches[i]), patches[i].size));
        } catch (const runtime::Failure& failure) {
            try {
                if (ReadCovering(*file, first, end) != now) {
                    std::vector<std::pair<std::uint64_t, std::span<const std::byte>>> held;
                    for (std::size_t j = 0; j <= i; ++j) held.emplace_back(patches[j].offset, std::span(expected(patches[j]), patches[j].size));
                    PutBackAndRethrow(font, failure, held);
                }
                throw;
            } catch (const runtime::Failure& stopped) {
                if (!texture) throw;
                PutBackTextureAndRethrow(texture->path, forward ? texture->before : texture->after, stopped);
            }
        }
    }
}

}  // namespace editor
