#include "ProbeKeys.h"

#include "GbkUtf8.h"
#include "Hex20.h"

#include "calc/Calculator.h"
#include "calc/Exception.h"

#include <array>
#include <charconv>
#include <deque>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace probe {
namespace {

using calc::Key;

struct KeyToken {
    std::string_view token;
    Key key;
};

constexpr std::array kKeyTokens{
    KeyToken{"0", Key::D0},
    KeyToken{"1", Key::D1},
    KeyToken{"2", Key::D2},
    KeyToken{"3", Key::D3},
    KeyToken{"4", Key::D4},
    KeyToken{"5", Key::D5},
    KeyToken{"6", Key::D6},
    KeyToken{"7", Key::D7},
    KeyToken{"8", Key::D8},
    KeyToken{"9", Key::D9},
    KeyToken{".", Key::Dot},
    KeyToken{"+/-", Key::Sign},
    KeyToken{"BS", Key::Back},
    KeyToken{"CE", Key::CE},
    KeyToken{"C", Key::C},
    KeyToken{"+", Key::Add},
    KeyToken{"-", Key::Sub},
    KeyToken{"*", Key::Multi},
    KeyToken{"/", Key::Div},
    KeyToken{"=", Key::Equal},
    KeyToken{"MS", Key::MS},
    KeyToken{"M+", Key::MAdd},
    KeyToken{"MR", Key::MR},
    KeyToken{"MC", Key::MC},
    KeyToken{"RATE", Key::SetCess},
    KeyToken{"TAX", Key::Tax},
    KeyToken{"PRICE", Key::Price},
    KeyToken{"TOTAL", Key::PriceAndTax},
};

constexpr std::string_view kValuePrefix = "VALUE=";
constexpr std::string_view kSelectPrefix = "SELECT=";

// A JSON string literal of a UTF-8 text.
void appendJsonString(std::string& out, std::string_view utf8)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    out += '"';
}

std::string jsonString(std::string_view gbk)
{
    std::string out;
    appendJsonString(out, gbkToUtf8(gbk));
    return out;
}

// Keeps every tape line ready as a JSON string, so a key converts only the
// lines it changed.
class TapeJson : public calc::TapeObserver {
public:
    explicit TapeJson(const calc::Tape& tape) : tape_(tape) {}

    void lineAppended(std::size_t index) override
    {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), jsonString(tape_.line(index)));
    }
    void lineDeleted(std::size_t index) override { lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index)); }
    void tapeCleared() override { lines_.clear(); }
    void selectionChanged(std::ptrdiff_t) override {}

    void appendArray(std::string& out) const
    {
        out += '[';
        bool first = true;
        for (const std::string& line : lines_) {
            if (!first) {
                out += ',';
            }
            first = false;
            out += line;
        }
        out += ']';
    }

private:
    const calc::Tape& tape_;
    std::deque<std::string> lines_;
};

void appendField(std::string& out, std::string_view name)
{
    out += ",\"";
    out += name;
    out += "\":";
}

void appendTextField(std::string& out, std::string_view name, std::string_view gbk)
{
    appendField(out, name);
    appendJsonString(out, gbkToUtf8(gbk));
}

void appendHexField(std::string& out, std::string_view name, long double x)
{
    appendField(out, name);
    out += '"';
    out += toHex20(x);
    out += '"';
}

void appendIntField(std::string& out, std::string_view name, long long n)
{
    appendField(out, name);
    out += std::to_string(n);
}

void appendBoolField(std::string& out, std::string_view name, bool b)
{
    appendField(out, name);
    out += b ? "true" : "false";
}

std::string stateLine(std::string_view token, const calc::Calculator& calculator, const TapeJson& tape,
    const std::optional<std::string>& error)
{
    const calc::CalcState& state = calculator.state();
    std::string out = "{\"key\":";
    appendJsonString(out, token);
    appendTextField(out, "entry", calculator.entryText());
    appendTextField(out, "hint", calculator.hintLine());
    appendTextField(out, "memory", calculator.memoryIndicator());
    appendTextField(out, "rate", calculator.rateCaption());
    appendField(out, "tape");
    tape.appendArray(out);
    appendIntField(out, "mark", state.MarkIndex);
    appendIntField(out, "selected", calculator.tape().selected());
    appendHexField(out, "value", state.Value);
    appendIntField(out, "modal", calculator.modalResult());
    appendTextField(out, "pending", state.PendingOp);
    appendTextField(out, "last", state.LastOp);
    appendHexField(out, "first", state.FirstOperand);
    appendHexField(out, "second", state.SecondOperand);
    appendHexField(out, "memval", state.MemoryValue);
    appendHexField(out, "taxrate", state.TaxRate);
    appendBoolField(out, "newentry", state.NewEntry);
    appendBoolField(out, "fraction", state.FractionEntry);
    appendField(out, "error");
    if (error) {
        appendJsonString(out, gbkToUtf8(*error));
    } else {
        out += "null";
    }
    out += "}\n";
    return out;
}

std::optional<long long> parseIndex(std::string_view text)
{
    long long n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return n;
}

// Runs one token; false when the token is not one of the script's.
bool play(std::string_view token, calc::Calculator& calculator)
{
    for (const KeyToken& row : kKeyTokens) {
        if (row.token == token) {
            calculator.press(row.key);
            return true;
        }
    }
    if (token == "SHOW") {
        calculator.FormShow();
        return true;
    }
    if (token == "PICK") {
        calculator.ListBoxShowDblClick();
        return true;
    }
    if (token.starts_with(kValuePrefix)) {
        const auto value = fromHex20(token.substr(kValuePrefix.size()));
        if (value) {
            calculator.setValue(*value);
        }
        return value.has_value();
    }
    if (token.starts_with(kSelectPrefix)) {
        const auto index = parseIndex(token.substr(kSelectPrefix.size()));
        if (index) {
            calculator.selectLine(static_cast<std::ptrdiff_t>(*index));
        }
        return index.has_value();
    }
    return false;
}

} // namespace

int runKeys(std::istream& in, std::ostream& out, std::ostream& err)
{
    calc::Calculator calculator;
    TapeJson tape(calculator.tape());
    calculator.setTapeObserver(&tape);

    std::string token;
    while (in >> token) {
        std::optional<std::string> error;
        bool known = true;
        try {
            known = play(token, calculator);
        } catch (const calc::Exception& e) {
            error = e.message();
        }
        if (!known) {
            out.flush();
            err << "calc-probe keys: unknown token '" << token << "'\n";
            return 2;
        }
        out << stateLine(token, calculator, tape, error);
    }
    out.flush();
    return 0;
}

} // namespace probe
