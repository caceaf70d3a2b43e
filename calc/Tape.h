#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace calc {

// Told of every change of the tape, so that a view follows it line by line
// and never rereads the whole tape.
class TapeObserver {
public:
    virtual ~TapeObserver() = default;
    virtual void lineAppended(std::size_t index) = 0;
    virtual void lineDeleted(std::size_t index) = 0;
    virtual void tapeCleared() = 0;
    // -1 when no line is selected.
    virtual void selectionChanged(std::ptrdiff_t index) = 0;
};

// The calculator's paper roll: code page 936 lines, at most one selected,
// with the selection rules of a single-selection list box. Lines are kept in
// one compact byte store; line() hands out views into it, valid until the
// next change of the tape.
class Tape {
public:
    Tape();
    ~Tape();
    Tape(Tape&&) noexcept;
    Tape& operator=(Tape&&) noexcept;

    bool holdsAnyLine() const { return count() != 0; }
    std::size_t count() const;
    // Precondition: index < count().
    std::string_view line(std::size_t index) const;
    // Empty view for an index outside the tape.
    std::string_view lineOrEmpty(std::ptrdiff_t index) const;

    // Returns the index of the new last line; the selection stays.
    std::size_t append(std::string_view text);
    // Lines behind move up; an index outside the tape deletes nothing.
    void remove(std::ptrdiff_t index);
    void clear();
    // An index outside the tape leaves no line selected.
    void select(std::ptrdiff_t index);
    std::ptrdiff_t selected() const { return selected_; }

    void setObserver(TapeObserver* observer) { observer_ = observer; }
    // Bytes held by the store, for memory figures.
    std::size_t memoryBytes() const;

private:
    struct Store;
    std::unique_ptr<Store> store_;
    std::ptrdiff_t selected_ = -1;
    TapeObserver* observer_ = nullptr;
};

} // namespace calc
