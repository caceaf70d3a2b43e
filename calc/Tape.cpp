#include "calc/Tape.h"

#include <algorithm>
#include <deque>
#include <string>

namespace calc {
namespace {

// Lines live in chunks of this size; a line never straddles two chunks, so
// no append ever moves the bytes already written.
constexpr std::size_t kChunkBytes = 64 * 1024;
constexpr unsigned kOffsetBits = 32;
constexpr std::uint64_t kOffsetMask = (std::uint64_t{1} << kOffsetBits) - 1;

// The deque of line starts keeps its elements in blocks of this many bytes.
constexpr std::size_t kIndexBlockBytes = 512;

} // namespace

// Each line is known by its start: chunk number in the high bits, byte
// offset in the low 32 bits. A line ends where the next one starts in the
// same chunk, or at the end of its chunk's bytes.
struct Tape::Store {
    std::deque<std::vector<char>> chunks;
    std::deque<std::uint64_t> starts;

    static std::size_t chunkOf(std::uint64_t start) { return static_cast<std::size_t>(start >> kOffsetBits); }
    static std::size_t offsetOf(std::uint64_t start) { return static_cast<std::size_t>(start & kOffsetMask); }

    std::string_view line(std::size_t index) const
    {
        const std::uint64_t start = starts[index];
        const std::vector<char>& chunk = chunks[chunkOf(start)];
        std::size_t end = chunk.size();
        if (index + 1 < starts.size() && chunkOf(starts[index + 1]) == chunkOf(start)) {
            end = offsetOf(starts[index + 1]);
        }
        return {chunk.data() + offsetOf(start), end - offsetOf(start)};
    }

    void append(std::string_view text)
    {
        if (chunks.empty() || chunks.back().capacity() - chunks.back().size() < text.size()) {
            std::vector<char> chunk;
            chunk.reserve(std::max(kChunkBytes, text.size()));
            chunks.push_back(std::move(chunk));
        }
        std::vector<char>& chunk = chunks.back();
        starts.push_back((static_cast<std::uint64_t>(chunks.size() - 1) << kOffsetBits) | chunk.size());
        chunk.insert(chunk.end(), text.begin(), text.end());
    }

    // Keeps the first `kept` lines.
    void truncate(std::size_t kept)
    {
        if (kept >= starts.size()) {
            return;
        }
        const std::uint64_t cut = starts[kept];
        starts.erase(starts.begin() + static_cast<std::ptrdiff_t>(kept), starts.end());
        std::size_t chunkCount = chunkOf(cut) + 1;
        chunks[chunkOf(cut)].resize(offsetOf(cut));
        // An emptied chunk goes too, unless an empty line still starts in it.
        if (offsetOf(cut) == 0 && (starts.empty() || chunkOf(starts.back()) < chunkOf(cut))) {
            chunkCount = chunkOf(cut);
        }
        while (chunks.size() > chunkCount) {
            chunks.pop_back();
        }
    }

    // Lines behind the removed one are written again: costs the tail's length.
    void remove(std::size_t index)
    {
        std::string tailBytes;
        std::vector<std::size_t> tailLengths;
        for (std::size_t i = index + 1; i < starts.size(); ++i) {
            const std::string_view text = line(i);
            tailBytes.append(text);
            tailLengths.push_back(text.size());
        }
        truncate(index);
        std::size_t position = 0;
        for (const std::size_t length : tailLengths) {
            append(std::string_view(tailBytes).substr(position, length));
            position += length;
        }
    }

    std::size_t bytes() const
    {
        std::size_t total = sizeof(Store);
        for (const std::vector<char>& chunk : chunks) {
            total += chunk.capacity() + sizeof(chunk);
        }
        const std::size_t perBlock = kIndexBlockBytes / sizeof(std::uint64_t);
        const std::size_t blocks = starts.size() / perBlock + 1;
        total += blocks * (kIndexBlockBytes + sizeof(void*));
        return total;
    }
};

Tape::Tape() : store_(std::make_unique<Store>()) {}
Tape::~Tape() = default;
Tape::Tape(Tape&&) noexcept = default;
Tape& Tape::operator=(Tape&&) noexcept = default;

std::size_t Tape::count() const { return store_ ? store_->starts.size() : 0; }

std::string_view Tape::line(std::size_t index) const { return store_->line(index); }

std::string_view Tape::lineOrEmpty(std::ptrdiff_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= count()) {
        return {};
    }
    return store_->line(static_cast<std::size_t>(index));
}

std::size_t Tape::append(std::string_view text)
{
    if (!store_) {
        store_ = std::make_unique<Store>();
    }
    const std::size_t index = count();
    store_->append(text);
    if (observer_) {
        observer_->lineAppended(index);
    }
    return index;
}

void Tape::remove(std::ptrdiff_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= count()) {
        return;
    }
    const auto position = static_cast<std::size_t>(index);
    if (position + 1 == count()) {
        store_->truncate(position);
    } else {
        store_->remove(position);
    }
    const std::ptrdiff_t before = selected_;
    if (selected_ == index) {
        selected_ = -1;
    } else if (selected_ > index) {
        --selected_;
    }
    if (observer_) {
        observer_->lineDeleted(position);
        if (selected_ != before) {
            observer_->selectionChanged(selected_);
        }
    }
}

void Tape::clear()
{
    if (store_) {
        store_->truncate(0);
    }
    const std::ptrdiff_t before = selected_;
    selected_ = -1;
    if (observer_) {
        observer_->tapeCleared();
        if (before != -1) {
            observer_->selectionChanged(-1);
        }
    }
}

void Tape::select(std::ptrdiff_t index)
{
    selected_ = (index >= 0 && static_cast<std::size_t>(index) < count()) ? index : -1;
    // Told even when unchanged: the view scrolls the line into view again.
    if (observer_) {
        observer_->selectionChanged(selected_);
    }
}

std::size_t Tape::memoryBytes() const { return store_ ? store_->bytes() : 0; }

} // namespace calc
