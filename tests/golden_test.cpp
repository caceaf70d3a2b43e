// Replays every tests/golden/<name>.keys through `calc-probe keys` and
// compares the states named in <name>.expected (UTF-8):
//   @ <n> | @ end        the state after token n (1-based), or after the last
//   <field>: <value>     a field of the probe's object, compared as text
//   tape: / tape-tail:   followed by |line| rows: the whole tape, or its end
#include "GoldenPaths.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A field of the probe's object: scalars as their text, arrays as items.
struct JsonValue {
    std::string text;
    std::vector<std::string> items;
};
using JsonObject = std::map<std::string, JsonValue>;

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    JsonObject object()
    {
        JsonObject result;
        expect('{');
        while (peek() != '}') {
            const std::string name = string();
            expect(':');
            result[name] = value();
            if (peek() == ',') {
                ++position_;
            }
        }
        expect('}');
        return result;
    }

private:
    char peek()
    {
        while (position_ < text_.size() && (text_[position_] == ' ' || text_[position_] == '\t')) {
            ++position_;
        }
        if (position_ >= text_.size()) {
            throw std::runtime_error("JSON ends early");
        }
        return text_[position_];
    }

    void expect(char c)
    {
        if (peek() != c) {
            throw std::runtime_error(std::string("JSON: expected ") + c);
        }
        ++position_;
    }

    static void appendUtf8(std::string& out, unsigned code)
    {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    unsigned hex4()
    {
        const unsigned code = static_cast<unsigned>(std::stoul(std::string(text_.substr(position_, 4)), nullptr, 16));
        position_ += 4;
        return code;
    }

    std::string string()
    {
        expect('"');
        std::string out;
        while (text_.at(position_) != '"') {
            char c = text_[position_++];
            if (c != '\\') {
                out += c;
                continue;
            }
            c = text_.at(position_++);
            switch (c) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'u': {
                unsigned code = hex4();
                if (code >= 0xD800 && code < 0xDC00 && text_.substr(position_, 2) == "\\u") {
                    position_ += 2;
                    code = 0x10000 + ((code - 0xD800) << 10) + (hex4() - 0xDC00);
                }
                appendUtf8(out, code);
                break;
            }
            default: out += c;
            }
        }
        ++position_;
        return out;
    }

    JsonValue value()
    {
        JsonValue result;
        const char c = peek();
        if (c == '"') {
            result.text = string();
        } else if (c == '[') {
            ++position_;
            while (peek() != ']') {
                result.items.push_back(string());
                if (peek() == ',') {
                    ++position_;
                }
            }
            ++position_;
        } else {
            const std::size_t end = text_.find_first_of(",}]", position_);
            result.text = std::string(text_.substr(position_, end - position_));
            position_ = end;
        }
        return result;
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

struct Check {
    std::size_t line; // in the expected file
    std::string field;
    std::string value;
    std::vector<std::string> rows;
};

struct Checkpoint {
    std::size_t token = 0; // 0: after the last token
    std::vector<Check> checks;
};

std::vector<Checkpoint> readExpected(const fs::path& path)
{
    std::ifstream in(path);
    std::vector<Checkpoint> checkpoints;
    std::string line;
    std::size_t number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line[0] == '@') {
            Checkpoint point;
            const std::string where = line.substr(line.find_first_not_of("@ "));
            point.token = where == "end" ? 0 : std::stoul(where);
            checkpoints.push_back(point);
        } else if (line[0] == '|') {
            if (checkpoints.empty() || checkpoints.back().checks.empty() || line.back() != '|') {
                throw std::runtime_error(path.string() + ":" + std::to_string(number) + ": stray row");
            }
            checkpoints.back().checks.back().rows.push_back(line.substr(1, line.size() - 2));
        } else {
            const std::size_t colon = line.find(':');
            if (checkpoints.empty() || colon == std::string::npos) {
                throw std::runtime_error(path.string() + ":" + std::to_string(number) + ": expected 'field: value'");
            }
            std::string value = line.substr(colon + 1);
            if (!value.empty() && value[0] == ' ') {
                value.erase(0, 1);
            }
            checkpoints.back().checks.push_back(Check{number, line.substr(0, colon), value, {}});
        }
    }
    return checkpoints;
}

std::vector<std::string> runProbe(const fs::path& keys)
{
    const std::string command = std::string("\"") + kProbePath + "\" keys < \"" + keys.string() + "\"";
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
    std::vector<std::string> lines;
    std::istringstream stream(output);
    std::string line;
    while (std::getline(stream, line)) {
        lines.push_back(line);
    }
    return lines;
}

void compare(const JsonObject& state, const Check& check, const std::string& where)
{
    const std::string at = where + ", expected line " + std::to_string(check.line);
    if (check.field == "tape" || check.field == "tape-tail") {
        const std::vector<std::string>& tape = state.at("tape").items;
        if (check.field == "tape") {
            EXPECT_EQ(tape, check.rows) << at;
        } else {
            ASSERT_GE(tape.size(), check.rows.size()) << at;
            EXPECT_EQ(std::vector<std::string>(tape.end() - static_cast<std::ptrdiff_t>(check.rows.size()), tape.end()),
                check.rows)
                << at;
        }
        return;
    }
    if (check.field == "tape-count") {
        EXPECT_EQ(std::to_string(state.at("tape").items.size()), check.value) << at;
        return;
    }
    const auto field = state.find(check.field);
    ASSERT_NE(field, state.end()) << at << ": no field " << check.field;
    EXPECT_EQ(field->second.text, check.value) << at << ": field " << check.field;
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
    const std::vector<std::string> output = runProbe(dir / (GetParam() + ".keys"));
    const std::vector<Checkpoint> checkpoints = readExpected(dir / (GetParam() + ".expected"));
    ASSERT_FALSE(output.empty());
    ASSERT_FALSE(checkpoints.empty());
    for (const Checkpoint& point : checkpoints) {
        const std::size_t token = point.token == 0 ? output.size() : point.token;
        ASSERT_LE(token, output.size());
        const JsonObject state = JsonReader(output[token - 1]).object();
        const std::string where = "after token " + std::to_string(token) + " (" + state.at("key").text + ")";
        for (const Check& check : point.checks) {
            compare(state, check, where);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, Golden, testing::ValuesIn(goldenNames()),
    [](const testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace

namespace {

TEST(ProbeKeys, UnknownTokenEndsTheProbeWithStatusTwo)
{
    const std::string command = std::string("echo '1 2 NOPE 3' | \"") + kProbePath + "\" keys 2>/dev/null | wc -l";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    ASSERT_TRUE(pipe);
    char buffer[32] = {};
    ASSERT_NE(std::fgets(buffer, sizeof buffer, pipe.get()), nullptr);
    EXPECT_EQ(std::stoi(buffer), 2);
    const std::string status = std::string("echo 'SHOW VALUE=12' | \"") + kProbePath + "\" keys >/dev/null 2>&1";
    const int result = std::system(status.c_str());
    EXPECT_TRUE(WIFEXITED(result));
    EXPECT_EQ(WEXITSTATUS(result), 2);
}

} // namespace
