#include "calc/Tape.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using calc::Tape;

namespace {

Tape tapeOf(std::size_t lines, std::ptrdiff_t selected)
{
    Tape tape;
    for (std::size_t i = 0; i < lines; ++i) {
        tape.append(std::to_string(i));
    }
    tape.select(selected);
    return tape;
}

struct SelectionCase {
    const char* name;
    std::ptrdiff_t selectedBefore;
    void (*change)(Tape&);
    std::ptrdiff_t selectedAfter;
};

class Selection : public testing::TestWithParam<SelectionCase> {};

// Five lines "0" to "4", then one change.
TEST_P(Selection, FollowsTheListBoxRules)
{
    Tape tape = tapeOf(5, GetParam().selectedBefore);
    GetParam().change(tape);
    EXPECT_EQ(tape.selected(), GetParam().selectedAfter);
}

INSTANTIATE_TEST_SUITE_P(Rows, Selection,
    testing::Values(SelectionCase{"AppendLeavesIt", 2, [](Tape& t) { t.append("x"); }, 2},
        SelectionCase{"DeletingItLeavesNone", 2, [](Tape& t) { t.remove(2); }, -1},
        SelectionCase{"DeletingALineAboveMovesItUp", 2, [](Tape& t) { t.remove(0); }, 1},
        SelectionCase{"DeletingALineBelowLeavesIt", 2, [](Tape& t) { t.remove(4); }, 2},
        SelectionCase{"DeletingOutsideChangesNothing", 2, [](Tape& t) { t.remove(5); }, 2},
        SelectionCase{"DeletingMinusOneChangesNothing", 2, [](Tape& t) { t.remove(-1); }, 2},
        SelectionCase{"ClearLeavesNone", 2, [](Tape& t) { t.clear(); }, -1},
        SelectionCase{"SelectingPastTheEndLeavesNone", 2, [](Tape& t) { t.select(5); }, -1},
        SelectionCase{"SelectingBelowZeroLeavesNone", 2, [](Tape& t) { t.select(-3); }, -1},
        SelectionCase{"SelectingTheLastLine", -1, [](Tape& t) { t.select(4); }, 4}),
    RowName());

class Recorder : public calc::TapeObserver {
public:
    void lineAppended(std::size_t index) override { events.push_back("+" + std::to_string(index)); }
    void lineDeleted(std::size_t index) override { events.push_back("-" + std::to_string(index)); }
    void tapeCleared() override { events.emplace_back("clear"); }
    void selectionChanged(std::ptrdiff_t index) override { events.push_back("sel" + std::to_string(index)); }
    std::vector<std::string> events;
};

TEST(TapeObserver, HearsEveryChange)
{
    Tape tape;
    Recorder recorder;
    tape.setObserver(&recorder);
    tape.append("a");
    tape.append("b");
    tape.append("c");
    tape.select(2);
    tape.remove(0);
    tape.remove(1);
    tape.remove(7);
    tape.clear();
    EXPECT_EQ(
        recorder.events, (std::vector<std::string>{"+0", "+1", "+2", "sel2", "-0", "sel1", "-1", "sel-1", "clear"}));
}

TEST(Tape, LineOrEmptyNeverReadsOutside)
{
    const Tape tape = tapeOf(3, -1);
    EXPECT_EQ(tape.lineOrEmpty(-1), "");
    EXPECT_EQ(tape.lineOrEmpty(3), "");
    EXPECT_EQ(tape.lineOrEmpty(2), "2");
}

// Lines of every length, empty ones and ones longer than a store chunk,
// against a plain vector.
TEST(Tape, MatchesAPlainListUnderRandomChanges)
{
    std::mt19937 random(12345);
    Tape tape;
    std::vector<std::string> model;
    std::ptrdiff_t modelSelected = -1;
    for (int step = 0; step < 60000; ++step) {
        const int action = static_cast<int>(random() % 100);
        if (action < 60 || model.empty()) {
            std::size_t length = random() % 31;
            if (random() % 2000 == 0) {
                length = 70000 + random() % 1000;
            }
            std::string text(length, static_cast<char>('a' + step % 26));
            if (!text.empty()) {
                text.back() = static_cast<char>('A' + step % 26);
            }
            EXPECT_EQ(tape.append(text), model.size());
            model.push_back(text);
        } else if (action < 85) {
            const std::ptrdiff_t index =
                static_cast<std::ptrdiff_t>(model.size()) - 1 - static_cast<std::ptrdiff_t>(random() % 3);
            tape.remove(index);
            if (index >= 0) {
                model.erase(model.begin() + index);
                modelSelected =
                    modelSelected == index ? -1 : (modelSelected > index ? modelSelected - 1 : modelSelected);
            }
        } else if (action < 87) {
            const auto index = static_cast<std::ptrdiff_t>(random() % model.size());
            tape.remove(index);
            model.erase(model.begin() + index);
            modelSelected = modelSelected == index ? -1 : (modelSelected > index ? modelSelected - 1 : modelSelected);
        } else if (action < 99) {
            const auto index = static_cast<std::ptrdiff_t>(random() % (model.size() + 2)) - 1;
            tape.select(index);
            modelSelected = index < static_cast<std::ptrdiff_t>(model.size()) ? index : -1;
        } else if (random() % 20 == 0) {
            tape.clear();
            model.clear();
            modelSelected = -1;
        }
        ASSERT_EQ(tape.count(), model.size());
        ASSERT_EQ(tape.selected(), modelSelected);
        if (step % 97 == 0) {
            for (std::size_t i = 0; i < model.size(); ++i) {
                ASSERT_EQ(tape.line(i), model[i]) << "line " << i << " at step " << step;
            }
        } else if (!model.empty()) {
            ASSERT_EQ(tape.line(model.size() - 1), model.back());
        }
    }
}

TEST(Tape, HoldsALineInAtMostFortyBytes)
{
    constexpr std::size_t kLines = 200'000;
    Tape tape;
    const std::string line(25, '7');
    for (std::size_t i = 0; i < kLines; ++i) {
        tape.append(line);
    }
    EXPECT_LE(tape.memoryBytes(), 40 * kLines);
    EXPECT_GE(tape.memoryBytes(), 25 * kLines);
    EXPECT_EQ(tape.line(kLines - 1), line);
}

} // namespace
