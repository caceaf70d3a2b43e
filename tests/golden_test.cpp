// Replays every tests/golden/<name>.keys through `calc-probe golden` and
// compares the states named in <name>.expected (UTF-8), both in one form:
//   @ <n> | @ end        the state after token n (1-based), or after the last
//   <field>: <value>     a field of the state, compared as text
//   tape: / tape-tail:   followed by |line| rows: the whole tape, or its end
#include "GoldenPaths.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// One entry of the golden form: "field: value", or "field:" followed by
// |row| lines.
struct Entry {
    std::size_t line; // in its file
    std::string field;
    std::string value;
    std::vector<std::string> rows;
};

// "@ <n>" (0 for "@ end") and the entries below it.
struct Block {
    std::size_t token = 0;
    std::vector<Entry> entries;

    const Entry* find(std::string_view field) const
    {
        for (const Entry& entry : entries) {
            if (entry.field == field) {
                return &entry;
            }
        }
        return nullptr;
    }
};

// Reads the golden form, which the expected files are written in and
// `calc-probe golden` writes; '#' lines and blank lines are skipped.
std::vector<Block> readGolden(std::istream& in, const std::string& source)
{
    std::vector<Block> blocks;
    std::string line;
    std::size_t number = 0;
    const auto fail = [&](const char* what) {
        throw std::runtime_error(source + ":" + std::to_string(number) + ": " + what);
    };
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line[0] == '@') {
            const std::string where = line.substr(std::min(line.find_first_not_of("@ "), line.size()));
            blocks.push_back(Block{where == "end" ? 0 : std::stoul(where), {}});
        } else if (line[0] == '|') {
            if (blocks.empty() || blocks.back().entries.empty() || line.size() < 2 || line.back() != '|') {
                fail("stray row");
            }
            blocks.back().entries.back().rows.push_back(line.substr(1, line.size() - 2));
        } else {
            const std::size_t colon = line.find(':');
            if (blocks.empty() || colon == std::string::npos) {
                fail("expected 'field: value'");
            }
            std::string value = line.substr(colon + 1);
            if (!value.empty() && value[0] == ' ') {
                value.erase(0, 1);
            }
            blocks.back().entries.push_back(Entry{number, line.substr(0, colon), value, {}});
        }
    }
    return blocks;
}

std::vector<Block> readExpected(const fs::path& path)
{
    std::ifstream in(path);
    return readGolden(in, path.string());
}

// The probe built with the tests, or another (QINGHE_PROBE): the same files
// replayed on the core as the other CPUs build it.
std::string probePath()
{
    const char* other = std::getenv("QINGHE_PROBE");
    return other != nullptr ? other : kProbePath;
}

// The state after every token, in the golden form.
std::vector<Block> runProbe(const fs::path& keys)
{
    const std::string command = std::string("\"") + probePath() + "\" golden < \"" + keys.string() + "\"";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        throw std::runtime_error("cannot run " + command);
    }
    std::string output;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) {
        output.append(buffer, n);
    }
    std::istringstream stream(output);
    return readGolden(stream, command);
}

void compare(const Block& state, const Entry& check, const std::string& where)
{
    const std::string at = where + ", expected line " + std::to_string(check.line);
    const Entry* tapeEntry = state.find("tape");
    ASSERT_NE(tapeEntry, nullptr) << at << ": no tape";
    const std::vector<std::string>& tape = tapeEntry->rows;
    if (check.field == "tape") {
        EXPECT_EQ(tape, check.rows) << at;
        return;
    }
    if (check.field == "tape-tail") {
        ASSERT_GE(tape.size(), check.rows.size()) << at;
        EXPECT_EQ(std::vector<std::string>(tape.end() - static_cast<std::ptrdiff_t>(check.rows.size()), tape.end()),
            check.rows)
            << at;
        return;
    }
    if (check.field == "tape-count") {
        EXPECT_EQ(std::to_string(tape.size()), check.value) << at;
        return;
    }
    const Entry* field = state.find(check.field);
    ASSERT_NE(field, nullptr) << at << ": no field " << check.field;
    EXPECT_EQ(field->value, check.value) << at << ": field " << check.field;
}

std::vector<std::string> goldenNames()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kGoldenDir)) {
        if (entry.path().extension() == ".keys") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

class Golden : public testing::TestWithParam<std::string> {};

TEST_P(Golden, ProbeReplaysTheScript)
{
    const fs::path dir(kGoldenDir);
    const std::vector<Block> states = runProbe(dir / (GetParam() + ".keys"));
    const std::vector<Block> checkpoints = readExpected(dir / (GetParam() + ".expected"));
    ASSERT_FALSE(states.empty());
    ASSERT_FALSE(checkpoints.empty());
    for (const Block& point : checkpoints) {
        const std::size_t token = point.token == 0 ? states.size() : point.token;
        ASSERT_LE(token, states.size());
        const Block& state = states[token - 1];
        ASSERT_EQ(state.token, token);
        const Entry* key = state.find("key");
        const std::string where = "after token " + std::to_string(token) + " (" + (key ? key->value : "?") + ")";
        for (const Entry& check : point.entries) {
            compare(state, check, where);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Golden, testing::ValuesIn(goldenNames()), RowName());

} // namespace

namespace {

TEST(ProbeKeys, UnknownTokenEndsTheProbeWithStatusTwo)
{
    const std::string command = std::string("echo '1 2 NOPE 3' | \"") + probePath() + "\" keys 2>/dev/null | wc -l";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    ASSERT_TRUE(pipe);
    char buffer[32] = {};
    ASSERT_NE(std::fgets(buffer, sizeof buffer, pipe.get()), nullptr);
    EXPECT_EQ(std::stoi(buffer), 2);
    const std::string status = std::string("echo 'SHOW VALUE=12' | \"") + probePath() + "\" keys >/dev/null 2>&1";
    const int result = std::system(status.c_str());
    EXPECT_TRUE(WIFEXITED(result));
    EXPECT_EQ(WEXITSTATUS(result), 2);
}

} // namespace
