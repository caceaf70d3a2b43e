#!/usr/bin/env python3
"""A second, independent model of the calculator's keys, in Python.

Plays random key scripts through `calc-probe keys` and through this model
and compares every field after every key. Numbers are exact rationals
rounded to the 80-bit extended format after each operation, so the model
shares no arithmetic or text code with the core. Usage:
    calculator_model.py PROBE [SCRIPTS] [SEED]
Exits 1 on the first disagreement, printing the script and the difference.
"""
import json
import os
import random
import subprocess
import sys
from fractions import Fraction

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import number_text_model as nt  # noqa: E402


def g(text):
    return text.encode("gbk")


SEPARATOR = g("－" * 15)
RESULT = g("结果")
OVERFLOW_TEXT = g("数字超范围!")
WELCOME = g(" 欢迎使用“青禾税率计算器”！退出请用热键 [ Alt+R ] 或 鼠标点取 [ 返回数据 ] ")
HINTS = {
    "digit": g("正在输入数据，是否输入完毕？"),
    "Add": g(" + 用于把两数相加，例如：A+B ，请输入加数"),
    "Sub": g(" - 用于把两数相减，例如：A-B，请输入减数"),
    "Multi": g(" × 用于把两数相乘，例如：A×B，请输入乘数"),
    "Div": g(" ÷ 用于把两数相除，例如：A÷B， 请输入除数"),
    "sign": g(" ± 用于设置数据的正负，热键为大键盘 [ - ] ，计算器默认值为正数"),
    "equal": g(" = 用于计算最后结果，例如：A+B=C，热键为 [ Enter ] ，如果继续使用，请输入数据"),
    "C": g(" C 用于清除结果编辑区数据，热键为 [ Alt+C ]"),
    "CE": g(" CE 用于清除过程编辑区，热键为 [ Alt+E ]"),
    "MS": g(" MS 用于存储结果编辑区数据，热键为 [ Alt+M ]"),
    "M+": g(" M+ 用于把结果编辑区数据加在存储区中，热键为 [ Alt+A ]"),
    "MR": g(" MR 用于显示存储区数据，热键为 [ Alt+H ]"),
    "MC": g(" MC 用于清除存储区中数据，热键为 [ Alt+L ]"),
    "back": g(" ← 用于修改结果编辑区中的数据，热键为 [ ← ]"),
    "RATE": g(" [设定税率]  用于设定税率，热键为 [ Alt+S ] ，计算器中税率默认值为 17 %"),
    "TAX": g(" [税金]  用于计算税金，不含税率，价税合计各为多少，热键为 [ Alt+J ]"),
    "PRICE": g(" [不含税价]  用于计算结果编辑区中数据不含税的价值，热键为 [ Alt+B ]"),
    "TOTAL": g(" [价税合计]  用于计算价税合计，不含税率，税金各为多少，热键为 [ Alt+U ]"),
}
LIMIT_HINT = g("数据太大，不允许再输入。请进行其它操作——")
HINT_BYTES = {"digit": 28, "Add": 41, "Sub": 40, "Multi": 42, "Div": 43, "sign": 63, "equal": 77,
              "C": 43, "CE": 40, "MS": 44, "M+": 54, "MR": 40, "MC": 42, "back": 45, "RATE": 71,
              "TAX": 67, "PRICE": 67, "TOTAL": 71}
assert all(len(HINTS[k]) == n for k, n in HINT_BYTES.items())
assert len(WELCOME) == 77 and len(LIMIT_HINT) == 42
SYMBOLS = {"Add": g("＋"), "Sub": g("－"), "Multi": g("×"), "Div": g("÷")}
OPERATOR_TOKENS = {"+": "Add", "-": "Sub", "*": "Multi", "/": "Div"}
LABEL_TAX = g(" 税金：    ")
LABEL_RATE = g(" 税率：     ")
LABEL_PRICE = g(" 不含税价：")
LABEL_TOTAL = g(" 价税合计：")
LABEL_RATE_SET = g(" 税率设置：")
ZERO_RATE_1 = g("税率为0.")
ZERO_RATE_2 = g("无法得到含税价和价税合计！")
assert [len(x) for x in (LABEL_TAX, LABEL_RATE, LABEL_PRICE, LABEL_TOTAL, LABEL_RATE_SET)] == [11, 12, 11, 11, 11]


# ---- extended arithmetic ---------------------------------------------------

ZERO = "00000000000000000000"
INDEFINITE = "ffffc000000000000000"


def decode(h):
    sign, exp, sig = nt.from_hex20(h)
    if exp == 0x7FFF:
        return ("inf", sign) if sig & ((1 << 63) - 1) == 0 else ("nan", sign)
    return ("fin", sign, nt.value_of(exp, sig))


def encode(sign, q):
    r = nt.nearest_extended(q)
    if r is None:
        return nt.to_hex20(sign, 0x7FFF, 1 << 63)
    return nt.to_hex20(sign, r[0], r[1])


def from_fraction(q):
    return encode(1 if q < 0 else 0, abs(q))


def signed(v):
    return -v[2] if v[1] else v[2]


def add(a, b):
    x, y = decode(a), decode(b)
    if x[0] == "nan" or y[0] == "nan":
        return INDEFINITE
    if x[0] == "inf" or y[0] == "inf":
        if x[0] == "inf" and y[0] == "inf" and x[1] != y[1]:
            return INDEFINITE
        inf = x if x[0] == "inf" else y
        return nt.to_hex20(inf[1], 0x7FFF, 1 << 63)
    q = signed(x) + signed(y)
    if q == 0:
        both_zero = x[2] == 0 and y[2] == 0
        return nt.to_hex20(1 if both_zero and x[1] and y[1] else 0, 0, 0)
    return from_fraction(q)


def neg(a):
    return "%020x" % (int(a, 16) ^ (1 << 79))


def sub(a, b):
    return add(a, neg(b))


def mul(a, b):
    x, y = decode(a), decode(b)
    sign = x[1] ^ y[1]
    if x[0] == "nan" or y[0] == "nan":
        return INDEFINITE
    if x[0] == "inf" or y[0] == "inf":
        if (x[0] == "fin" and x[2] == 0) or (y[0] == "fin" and y[2] == 0):
            return INDEFINITE
        return nt.to_hex20(sign, 0x7FFF, 1 << 63)
    return encode(sign, x[2] * y[2])


def div(a, b):
    x, y = decode(a), decode(b)
    sign = x[1] ^ y[1]
    if x[0] == "nan" or y[0] == "nan" or (x[0] == "inf" and y[0] == "inf"):
        return INDEFINITE
    if x[0] == "inf":
        return nt.to_hex20(sign, 0x7FFF, 1 << 63)
    if y[0] == "inf":
        return nt.to_hex20(sign, 0, 0)
    if y[2] == 0:
        return INDEFINITE if x[2] == 0 else nt.to_hex20(sign, 0x7FFF, 1 << 63)
    return encode(sign, x[2] / y[2])


def is_zero(a):
    v = decode(a)
    return v[0] == "fin" and v[2] == 0


def is_finite(a):
    return decode(a)[0] == "fin"


def value(a):
    return signed(decode(a))


HUNDRED = from_fraction(Fraction(100))
ONE = from_fraction(Fraction(1))


# ---- texts -----------------------------------------------------------------

def general(a):
    return nt.general_text(a).encode()


def fixed(a):
    return nt.fixed_text(a, 12).encode()


class ConvertError(Exception):
    def __init__(self, text):
        super().__init__(b"'" + text + b"' is not a valid floating point value")


class Overflow(Exception):
    def __init__(self):
        super().__init__(b"Floating point overflow")


def parse(text):
    r = nt.parse_number(text)
    if r is None:
        raise ConvertError(text)
    return r


def trim_trailing_point(s):
    if s == b".":
        return b"0"
    return s[:-1] if s.endswith(b".") else s


def align_right(s):
    return b" " * (25 - len(s)) + s if 1 <= len(s) <= 24 else b""


def trim_blanks(s):
    i, j = 0, len(s)
    while i < j and s[i] <= 0x20:
        i += 1
    while j > i and s[j - 1] <= 0x20:
        j -= 1
    return s[i:j]


_decoded = {}


def gbk_to_text(b):
    text = _decoded.get(b)
    if text is None:
        text = _decoded[b] = _gbk_to_text(b)
    return text


def _gbk_to_text(b):
    out, i = [], 0
    while i < len(b):
        c = b[i]
        if c < 0x80:
            out.append(chr(c))
            i += 1
        elif 0x81 <= c <= 0xFE and i + 1 < len(b) and 0x40 <= b[i + 1] <= 0xFE and b[i + 1] != 0x7F:
            pair = b[i:i + 2]
            try:
                out.append(pair.decode("gbk"))
            except UnicodeDecodeError:
                try:
                    out.append(pair.decode("gb18030"))
                except UnicodeDecodeError:
                    out.append("\ufffd")
            i += 2
        else:
            out.append("\u20ac" if c == 0x80 else "\ufffd")
            i += 1
    return "".join(out)


# ---- the calculator --------------------------------------------------------

class Calculator:
    def __init__(self):
        self.entry = b""
        self.hint = b""
        self.memory = b""
        self.rate = b""
        self.tape = []
        self.selected = -1
        self.mark = 0
        self.pending = ""
        self.last = ""
        self.first = ZERO
        self.second = ZERO
        self.memval = ZERO
        self.taxrate = ZERO
        self.value = ZERO
        self.newentry = False
        self.fraction = False
        self.modal = 0
        self.block_start = None  # tape length before the pending calculation's lines

    # tape, with the selection rules of a list box
    def append(self, line):
        self.tape.append(line)
        return len(self.tape) - 1

    def delete(self, i):
        if 0 <= i < len(self.tape):
            del self.tape[i]
            if self.selected == i:
                self.selected = -1
            elif self.selected > i:
                self.selected -= 1

    def select(self, i):
        self.selected = i if 0 <= i < len(self.tape) else -1

    def line_or_empty(self, i):
        return self.tape[i] if 0 <= i < len(self.tape) else b""

    def mark_and_select(self, i):
        self.mark = i
        self.select(i)

    # entry line
    def read_entry(self):
        text = self.entry
        if b"E" in text and text.endswith(b"."):
            text = text[:-1]
        try:
            return parse(text)
        except ConvertError:
            raise ConvertError(self.entry)

    def can_append_digit(self):
        # The limit holds back only a key that would lengthen the entry; a
        # key that starts a new number replaces the shown one.
        if (self.newentry and not self.fraction) or len(self.entry) < 20:
            return True
        self.hint = LIMIT_HINT
        return False

    def start_new_entry(self):
        if self.newentry and not self.fraction:
            self.entry = b""
            self.newentry = False

    def digit(self, d):
        self.hint = HINTS["digit"]
        if not self.can_append_digit():
            return
        self.start_new_entry()
        if self.fraction:
            self.entry += d
        else:
            if self.entry == b"0.":
                self.entry = b""
            self.entry = trim_trailing_point(self.entry) + d + b"."

    def zero(self):
        self.hint = HINTS["digit"]
        if not self.can_append_digit():
            return
        if self.entry in (b"0.", b"") and not self.fraction:
            return
        self.start_new_entry()
        if self.fraction:
            self.entry += b"0"
        else:
            self.entry = trim_trailing_point(self.entry) + b"0."

    def point(self):
        self.hint = HINTS["digit"]
        if not self.can_append_digit():
            return
        self.start_new_entry()
        if self.entry == b"":
            self.entry = b"0."
        self.fraction = True

    def sign(self):
        self.hint = HINTS["sign"]
        self.entry = self.entry[1:] if self.entry.startswith(b"-") else b"-" + self.entry

    def back(self):
        self.hint = HINTS["back"]
        if not self.entry:
            return
        if not self.entry.endswith(b"."):
            self.entry = self.entry[:-1]
        else:
            self.entry = self.entry[:max(len(self.entry) - 2, 0)] + b"."
        if self.entry in (b".", b"-."):
            self.entry = b"0."

    def clear_entry(self):
        self.hint = HINTS["CE"]
        self.entry = b"0."
        self.newentry = True
        self.fraction = False

    def clear_all(self):
        self.hint = HINTS["C"]
        self.tape = []
        self.selected = -1
        self.entry = b"0."
        self.newentry = True
        self.pending = self.last = ""
        self.first = self.second = ZERO
        self.fraction = False
        self.block_start = None

    # arithmetic
    def operator(self, name):
        self.hint = HINTS[name]
        if self.pending:
            self.equals()
        else:
            self.first = self.read_entry()
            self.block_start = len(self.tape)
            if self.tape:
                self.append(b"")
            self.append(align_right(trim_trailing_point(self.entry)))
            self.mark_and_select(self.append(SYMBOLS[name]))
        self.newentry = True
        self.fraction = False
        self.pending = name

    def equals(self):
        self.hint = HINTS["equal"]
        if self.pending:
            self.second = self.read_entry()
            self.last = self.pending
        else:
            self.first = self.read_entry()
        restore = self.block_start if (self.pending and self.block_start is not None) else len(self.tape)
        self.block_start = None
        symbol = SYMBOLS.get(self.last, b"")
        deleted = None
        if self.tape:
            if self.line_or_empty(self.mark - 1) == SEPARATOR:
                self.append(b"")
                self.append(align_right(general(self.first)))
            else:
                if 0 <= self.mark < len(self.tape):
                    deleted = (self.mark, self.tape[self.mark])
                self.delete(self.mark)
            self.append(symbol + align_right(general(self.second))[2:25])
        if self.last == "Div" and is_zero(self.second):
            self.entry = b"0."
            self.pending = ""
            if deleted is not None and deleted[0] < restore:
                while len(self.tape) > restore - 1:
                    self.delete(len(self.tape) - 1)
                self.append(deleted[1])
            else:
                while len(self.tape) > restore:
                    self.delete(len(self.tape) - 1)
            self.mark = len(self.tape) - 1
        else:
            if self.last:
                op = {"Add": add, "Sub": sub, "Multi": mul, "Div": div}[self.last]
                self.first = op(self.first, self.second)
            self.entry = general(self.first)
            if not is_finite(self.first):
                self.append(SEPARATOR)
                self.mark_and_select(self.append(RESULT + align_right(OVERFLOW_TEXT)[4:25]))
                self.entry = b"0."
                self.pending = self.last = ""
                self.first = self.second = ZERO
            else:
                self.append(SEPARATOR)
                text = self.entry
                line = RESULT + (text if len(text) > 21 else align_right(text)[4:25])
                self.mark_and_select(self.append(line))
                if b"." not in self.entry:
                    self.entry += b"."
                self.pending = ""
        self.newentry = True
        self.fraction = False

    # memory
    def memory_store(self):
        self.hint = HINTS["MS"]
        x = self.read_entry()
        if is_zero(x):
            return
        self.memval = self.read_entry()
        self.memory = b"M"
        self.newentry = True
        self.fraction = False

    def memory_add(self):
        self.hint = HINTS["M+"]
        if self.memory != b"M":
            self.memory_store()
            return
        self.memval = add(self.read_entry(), self.memval)
        self.newentry = True
        self.fraction = False

    def memory_recall(self):
        self.hint = HINTS["MR"]
        if self.memory != b"M":
            return
        self.entry = general(self.memval)
        if b"." not in self.entry:
            self.entry += b"."
        self.newentry = True
        self.fraction = False

    def memory_clear(self):
        self.hint = HINTS["MC"]
        if self.memory != b"M":
            return
        self.memory = b""
        self.memval = ZERO
        self.newentry = True
        self.fraction = False

    # tax keys
    def open_block(self):
        if self.tape:
            self.append(b"")
        self.append(SEPARATOR)

    def close_block(self):
        self.mark_and_select(self.append(SEPARATOR))

    def rate_line(self):
        return LABEL_RATE + fixed(self.taxrate) + b"%"

    def tax_key(self, token):
        self.hint = HINTS[token]
        x = self.read_entry()
        xv = value(x)
        accepted = (0 <= xv < 100) if token == "RATE" else xv >= 0
        if accepted:
            getattr(self, "report_" + token.lower())(x)
        self.newentry = True
        self.pending = self.last = ""
        self.first = self.second = ZERO
        self.fraction = False
        self.block_start = None

    def report_rate(self, x):
        self.taxrate = x
        self.rate = fixed(x) + b"%"
        self.open_block()
        self.append(LABEL_RATE_SET + align_right(self.rate)[12:25])
        self.close_block()

    def report_tax(self, x):
        tax, price = x, ZERO
        zero_rate = is_zero(self.taxrate)
        if not zero_rate:
            price = div(tax, div(self.taxrate, HUNDRED))
        total = add(price, tax)
        if not all(map(is_finite, (tax, price, total))):
            raise Overflow()
        self.open_block()
        self.append(LABEL_TAX + fixed(tax))
        if zero_rate:
            self.append(ZERO_RATE_1)
            self.append(ZERO_RATE_2)
        else:
            self.append(self.rate_line())
            self.append(LABEL_PRICE + fixed(price))
            self.append(LABEL_TOTAL + fixed(total))
        self.close_block()

    def report_price(self, x):
        price = x
        tax = mul(div(self.taxrate, HUNDRED), price)
        total = add(price, tax)
        if not all(map(is_finite, (tax, price, total))):
            raise Overflow()
        self.open_block()
        for line in (LABEL_PRICE + fixed(price), self.rate_line(), LABEL_TAX + fixed(tax), LABEL_TOTAL + fixed(total)):
            self.append(line)
        self.close_block()

    def report_total(self, x):
        total = x
        price = div(total, add(div(self.taxrate, HUNDRED), ONE))
        tax = sub(total, price)
        if not all(map(is_finite, (tax, price, total))):
            raise Overflow()
        self.open_block()
        for line in (LABEL_TOTAL + fixed(total), self.rate_line(), LABEL_PRICE + fixed(price), LABEL_TAX + fixed(tax)):
            self.append(line)
        self.close_block()

    # window
    def show(self):
        self.entry = general(self.value)
        if b"." not in self.entry:
            self.entry += b"."
        self.newentry = True
        self.pending = ""
        self.block_start = None
        self.memval = ZERO
        self.rate = b"17%"
        self.taxrate = from_fraction(Fraction(17))
        self.hint = WELCOME

    def pick(self):
        if not 0 <= self.selected < len(self.tape):
            return
        line = self.tape[self.selected]
        divide = False
        if any(w in line for w in (g("价税合计"), g("不含税价"), g("税金"))):
            text = trim_blanks(line[11:])
        elif g("税率") in line:
            text = trim_blanks(line[11:])
            if text.endswith(b"%"):
                text = text[:-1]
            divide = True
        elif any(w in line for w in (g("＋"), g("×"), g("÷"))) or (g("－") in line and g("－－") not in line):
            text = trim_blanks(line[2:])
            if not text:
                return
        elif RESULT in line:
            text = trim_blanks(line[4:])
        elif line and g("－－") not in line:
            text = trim_blanks(line)
        else:
            return
        number = parse(text)
        if divide:
            number = div(number, HUNDRED)
        self.value = number
        self.modal = 1

    def press(self, token):
        if token in OPERATOR_TOKENS:
            self.operator(OPERATOR_TOKENS[token])
        elif token == "0":
            self.zero()
        elif len(token) == 1 and token.isdigit():
            self.digit(token.encode())
        elif token.startswith("VALUE="):
            self.value = token[6:].lower()
        elif token.startswith("SELECT="):
            self.select(int(token[7:]))
        else:
            {".": self.point, "+/-": self.sign, "BS": self.back, "CE": self.clear_entry, "C": self.clear_all,
             "=": self.equals, "MS": self.memory_store, "M+": self.memory_add, "MR": self.memory_recall,
             "MC": self.memory_clear, "SHOW": self.show, "PICK": self.pick,
             "RATE": lambda: self.tax_key("RATE"), "TAX": lambda: self.tax_key("TAX"),
             "PRICE": lambda: self.tax_key("PRICE"), "TOTAL": lambda: self.tax_key("TOTAL")}[token]()

    def snapshot(self, token, error):
        return {
            "key": token, "entry": gbk_to_text(self.entry), "hint": gbk_to_text(self.hint),
            "memory": gbk_to_text(self.memory), "rate": gbk_to_text(self.rate),
            "tape": [gbk_to_text(x) for x in self.tape], "mark": self.mark, "selected": self.selected,
            "value": self.value, "modal": self.modal, "pending": self.pending, "last": self.last,
            "first": self.first, "second": self.second, "memval": self.memval, "taxrate": self.taxrate,
            "newentry": self.newentry, "fraction": self.fraction,
            "error": None if error is None else gbk_to_text(error),
        }


def play(tokens):
    calc = Calculator()
    out = []
    for token in tokens:
        error = None
        try:
            calc.press(token)
        except (ConvertError, Overflow) as e:
            error = e.args[0]
        out.append(calc.snapshot(token, error))
    return out


# ---- random scripts --------------------------------------------------------

PLAIN = ["0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ".", "+/-", "BS", "CE", "C",
         "+", "-", "*", "/", "=", "MS", "M+", "MR", "MC", "RATE", "TAX", "PRICE", "TOTAL", "PICK"]
WEIGHTS = [4, 3, 3, 3, 3, 3, 2, 2, 2, 3, 3, 2, 2, 1, 0.5, 2, 2, 2, 2, 4, 1, 1, 1, 1, 1, 1, 1, 1, 1]
SPECIAL_VALUES = ["7fff8000000000000000", "ffff8000000000000000", "7fffc000000000000000",
                  "7ffeffffffffffffffff", "00000000000000000001", "00018000000000000000",
                  "80000000000000000000", "40008000000000000000", "c0419502f90000000000"]


def random_script(rng):
    tokens = [] if rng.random() < 0.1 else ["SHOW"]
    for _ in range(rng.randint(1, 60)):
        r = rng.random()
        if r < 0.02:
            tokens.append("VALUE=" + rng.choice(SPECIAL_VALUES + [nt.random_hex(rng)]))
            tokens.append("SHOW")
        elif r < 0.04:
            tokens.append("SHOW")
        elif r < 0.09:
            tokens.append("SELECT=%d" % rng.randint(-1, 12))
            tokens.append("PICK")
        elif r < 0.10:
            tokens += ["9"] * 19 + ["*"] + ["="] * rng.randint(200, 300)  # towards overflow
        elif r < 0.13:
            tokens += ["0", ".", "0", "0", "1", "RATE"]
        elif r < 0.15:
            tokens += list("1234567890123456789") + ["."] + ["1", "2"]
        elif r < 0.17:  # results of 20 bytes and more on the entry line
            tokens += rng.choice([list("1/3000="), list("1234567890123456") + ["+/-", "="]])
        else:
            tokens.append(rng.choices(PLAIN, WEIGHTS)[0])
    return tokens


def main():
    sys.set_int_max_str_digits(0)
    probe = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    keys = 0
    for n in range(count):
        tokens = random_script(rng)
        want = play(tokens)
        run = subprocess.run([probe, "keys"], input=" ".join(tokens) + "\n", capture_output=True, text=True)
        if run.returncode != 0:
            print("probe failed (%d) on script %d: %s\n%s" % (run.returncode, n, " ".join(tokens), run.stderr))
            sys.exit(1)
        got = [json.loads(line) for line in run.stdout.splitlines()]
        for i, (w, o) in enumerate(zip(want, got)):
            if w != o:
                diff = {k: (w.get(k), o.get(k)) for k in set(w) | set(o) if w.get(k) != o.get(k)}
                print("script %d differs after key %d (%s):\n  %s\n  differences (model, probe): %s"
                      % (n, i, tokens[i], " ".join(tokens[:i + 1]), json.dumps(diff, ensure_ascii=False)))
                sys.exit(1)
        if len(want) != len(got):
            print("script %d: %d answers for %d keys" % (n, len(got), len(want)))
            sys.exit(1)
        keys += len(tokens)
    print("%d scripts, %d keys agree with the model" % (count, keys))


if __name__ == "__main__":
    main()
