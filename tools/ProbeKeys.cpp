#include "tools/ProbeKeys.h"

#include "calc/Calculator.h"
#include "calc/Exception.h"
#include "tools/GbkUtf8.h"
#include "tools/Hex20.h"
#include "tools/KeyScript.h"

#include <deque>
#include <istream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace probe {
namespace {

// A tape line in UTF-8, and as a JSON string.
struct TapeLine {
    std::string utf8;
    std::string json;
};

std::string jsonString(std::string_view utf8);

// Keeps every tape line converted, so a key converts only the lines it
// changed.
class TapeText : public calc::TapeObserver {
public:
    explicit TapeText(const calc::Tape& tape) : tape_(tape) {}

    void lineAppended(std::size_t index) override
    {
        std::string utf8 = gbkToUtf8(tape_.line(index));
        std::string json = jsonString(utf8);
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), TapeLine{std::move(utf8), std::move(json)});
    }
    void lineDeleted(std::size_t index) override { lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index)); }
    void tapeCleared() override { lines_.clear(); }
    void selectionChanged(std::ptrdiff_t) override {}

    const std::deque<TapeLine>& lines() const { return lines_; }

private:
    const calc::Tape& tape_;
    std::deque<TapeLine> lines_;
};

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

std::string jsonString(std::string_view utf8)
{
    std::string out;
    appendJsonString(out, utf8);
    return out;
}

// One object per token: {"key":"SHOW","entry":"0.",...,"tape":[...],...}.
class JsonWriter {
public:
    void begin(std::size_t, std::string_view token)
    {
        out_ = "{";
        first_ = true;
        text("key", token);
    }
    void text(std::string_view name, std::string_view utf8)
    {
        field(name);
        appendJsonString(out_, utf8);
    }
    void literal(std::string_view name, std::string_view value)
    {
        field(name);
        out_ += value;
    }
    void tape(std::string_view name, const std::deque<TapeLine>& lines)
    {
        field(name);
        out_ += '[';
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) {
                out_ += ',';
            }
            out_ += lines[i].json;
        }
        out_ += ']';
    }
    void error(std::string_view name, const std::optional<std::string>& utf8)
    {
        if (utf8) {
            text(name, *utf8);
        } else {
            literal(name, "null");
        }
    }
    const std::string& end()
    {
        out_ += "}\n";
        return out_;
    }

private:
    void field(std::string_view name)
    {
        if (!first_) {
            out_ += ',';
        }
        first_ = false;
        out_ += '"';
        out_ += name;
        out_ += "\":";
    }
    std::string out_;
    bool first_ = true;
};

// The form of tests/golden/*.expected: "@ <n>", then "field: value" lines,
// the tape as |line| rows, a blank line after each token. Control bytes,
// which no text of the calculator holds, are written as \xNN.
class GoldenWriter {
public:
    void begin(std::size_t number, std::string_view token)
    {
        out_ = "@ " + std::to_string(number) + "\n";
        text("key", token);
    }
    void text(std::string_view name, std::string_view utf8)
    {
        out_ += name;
        out_ += ": ";
        appendText(utf8);
        out_ += '\n';
    }
    void literal(std::string_view name, std::string_view value) { text(name, value); }
    void tape(std::string_view name, const std::deque<TapeLine>& lines)
    {
        out_ += name;
        out_ += ":\n";
        for (const TapeLine& line : lines) {
            out_ += '|';
            appendText(line.utf8);
            out_ += "|\n";
        }
    }
    void error(std::string_view name, const std::optional<std::string>& utf8) { text(name, utf8 ? *utf8 : "null"); }
    const std::string& end()
    {
        out_ += '\n';
        return out_;
    }

private:
    void appendText(std::string_view utf8)
    {
        static constexpr char kHex[] = "0123456789ABCDEF";
        for (const char c : utf8) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20) {
                out_ += "\\x";
                out_ += kHex[byte >> 4];
                out_ += kHex[byte & 0x0F];
            } else {
                out_ += c;
            }
        }
    }

    std::string out_;
};

template <class Writer>
const std::string& stateAfter(Writer& w, std::size_t number, std::string_view token, const calc::Calculator& c,
    const TapeText& tape, const std::optional<std::string>& error)
{
    const calc::CalcState& state = c.state();
    w.begin(number, token);
    w.text("entry", gbkToUtf8(c.entryText()));
    w.text("hint", gbkToUtf8(c.hintLine()));
    w.text("memory", gbkToUtf8(c.memoryIndicator()));
    w.text("rate", gbkToUtf8(c.rateCaption()));
    w.tape("tape", tape.lines());
    w.literal("mark", std::to_string(state.MarkIndex));
    w.literal("selected", std::to_string(c.tape().selected()));
    w.text("value", toHex20(state.Value));
    w.literal("modal", std::to_string(c.modalResult()));
    w.text("pending", gbkToUtf8(state.PendingOp));
    w.text("last", gbkToUtf8(state.LastOp));
    w.text("first", toHex20(state.FirstOperand));
    w.text("second", toHex20(state.SecondOperand));
    w.text("memval", toHex20(state.MemoryValue));
    w.text("taxrate", toHex20(state.TaxRate));
    w.literal("newentry", state.NewEntry ? "true" : "false");
    w.literal("fraction", state.FractionEntry ? "true" : "false");
    w.error("error", error ? std::optional<std::string>(gbkToUtf8(*error)) : std::nullopt);
    return w.end();
}

template <class Writer>
int replay(std::istream& in, std::ostream& out, std::ostream& err)
{
    const std::string script{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    calc::Calculator calculator;
    TapeText tape(calculator.tape());
    calculator.setTapeObserver(&tape);
    Writer writer;
    std::size_t number = 0;
    for (const std::string_view token : keyscript::tokens(script)) {
        const std::optional<keyscript::Step> step = keyscript::parseStep(token);
        if (!step) {
            out.flush();
            err << "calc-probe: unknown token '" << token << "'\n";
            return 2;
        }
        std::optional<std::string> error;
        try {
            keyscript::perform(calculator, *step);
        } catch (const calc::Exception& e) {
            error = e.message();
        }
        out << stateAfter(writer, ++number, token, calculator, tape, error);
    }
    out.flush();
    return 0;
}

} // namespace

int runKeys(std::istream& in, std::ostream& out, std::ostream& err, KeysFormat format)
{
    if (format == KeysFormat::Golden) {
        return replay<GoldenWriter>(in, out, err);
    }
    return replay<JsonWriter>(in, out, err);
}

} // namespace probe
