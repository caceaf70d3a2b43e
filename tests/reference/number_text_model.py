#!/usr/bin/env python3
"""An exact model of the calculator's number texts, in rational arithmetic.

Feeds random and adversarial extended values and texts to `calc-probe
numbers` and compares every answer with the model. Usage:
    number_text_model.py PROBE [COUNT] [SEED]
Exits 1 on the first disagreement, printing it.
"""
import random
import subprocess
import sys
from fractions import Fraction

BIAS = 16383
MIN_EXP = 1 - BIAS - 63  # weight of the last significand bit of a subnormal


# ---- extended values -------------------------------------------------------

def from_hex20(h):
    bits = int(h, 16)
    sign = bits >> 79
    exp = (bits >> 64) & 0x7FFF
    sig = bits & ((1 << 64) - 1)
    return sign, exp, sig


def to_hex20(sign, exp, sig):
    return "%020x" % ((sign << 79) | (exp << 64) | sig)


def value_of(exp, sig):
    e = (exp if exp else 1) - BIAS - 63
    return Fraction(sig) * (Fraction(2) ** e)


def nearest_extended(q):
    """Magnitude q >= 0 rounded to nearest (ties to even): (exp, sig) or None on overflow."""
    if q == 0:
        return 0, 0
    # find e with 2^e <= q < 2^(e+1)
    e = q.numerator.bit_length() - q.denominator.bit_length()
    if Fraction(2) ** e > q:
        e -= 1
    unit_exp = max(e - 63, MIN_EXP)
    scaled = q / (Fraction(2) ** unit_exp)
    n, r = divmod(scaled.numerator, scaled.denominator)
    twice = 2 * r
    if twice > scaled.denominator or (twice == scaled.denominator and n & 1):
        n += 1
    if n >= 1 << 64:
        n >>= 1
        unit_exp += 1
    exp_field = unit_exp + 63 + BIAS
    if n < 1 << 63:  # subnormal (or rounded up into the smallest normal above)
        return 0, n
    if exp_field >= 0x7FFF:
        return None
    return exp_field, n


# ---- decimal form ----------------------------------------------------------

def eighteen_digits(q):
    """(digits string of 18, E) with q = 0.d1..d18 x 10^E, ties to even."""
    # estimate from the bit lengths, then adjust so that 10^(E-1) <= q < 10^E
    e = int((q.numerator.bit_length() - q.denominator.bit_length()) * 0.30102999566398120)
    while Fraction(10) ** e <= q:
        e += 1
    while Fraction(10) ** (e - 1) > q:
        e -= 1
    scaled = q * Fraction(10) ** (18 - e)
    n, r = divmod(scaled.numerator, scaled.denominator)
    twice = 2 * r
    if twice > scaled.denominator or (twice == scaled.denominator and n & 1):
        n += 1
    if n == 10 ** 18:
        n = 10 ** 17
        e += 1
    return str(n), e


def decimal_form(h, P, D):
    sign, exp, sig = from_hex20(h)
    if exp == 0:
        return ("zero",)
    if exp == 0x7FFF:
        if sig & ((1 << 63) - 1) == 0:
            return ("-INF",) if sign else ("INF",)
        return ("NAN",)
    digits, E = eighteen_digits(value_of(exp, sig))
    n = P if D is None else E + D
    if n < 0:
        return ("zero",)
    n = min(n, P)
    kept = digits[:n]
    if n < 18 and digits[n] >= "5":
        if kept == "" or set(kept) == {"9"}:
            kept = "1"
            E += 1
        else:
            kept = str(int(kept) + 1).rjust(len(kept), "0")
    kept = kept.rstrip("0")
    if not kept:
        return ("zero",)
    return ("num", kept, E, bool(sign))


def scientific(kept, E, neg, min_exp_digits):
    t = "-" if neg else ""
    t += kept[0]
    if len(kept) > 1:
        t += "." + kept[1:]
    x = E - 1
    t += "E" + ("-" if x < 0 else "") + str(abs(x)).rjust(min_exp_digits, "0")
    return t


def general_text(h):
    f = decimal_form(h, 15, None)
    if f[0] == "zero":
        return "0"
    if f[0] != "num":
        return f[0]
    _, kept, E, neg = f
    if E > 15 or E < -3:
        return scientific(kept, E, neg, 1)
    t = "-" if neg else ""
    if E <= 0:
        return t + "0." + "0" * (-E) + kept
    t += kept[:E].ljust(E, "0")
    if len(kept) > E:
        t += "." + kept[E:]
    return t


def fixed_text(h, P):
    f = decimal_form(h, P, 2)
    if f[0] == "zero":
        return "0.00"
    if f[0] != "num":
        return f[0]
    _, kept, E, neg = f
    if E > P:
        return scientific(kept, E, neg, 2)
    t = "-" if neg else ""
    t += "0" if E <= 0 else kept[:E].ljust(E, "0")
    dec = ("0" * (-E) if E < 0 else "") + kept[max(E, 0):]
    return t + "." + dec.ljust(2, "0")


# ---- reading texts ---------------------------------------------------------

def parse_number(s):
    """s: bytes. Returns hex20 or None when the text is not a number."""
    i, n = 0, len(s)
    while i < n and s[i] == 0x20:
        i += 1
    neg = False
    if i < n and s[i] in b"+-":
        neg = s[i] == ord("-")
        i += 1
    a = i
    while i < n and 0x30 <= s[i] <= 0x39:
        i += 1
    ints = s[a:i]
    point, frac = False, b""
    if i < n and s[i] == ord("."):
        point = True
        i += 1
        a = i
        while i < n and 0x30 <= s[i] <= 0x39:
            i += 1
        frac = s[a:i]
    if not ints and not point:
        return None
    ex = 0
    if i < n and s[i] in b"Ee":
        i += 1
        eneg = False
        if i < n and s[i] in b"+-":
            eneg = s[i] == ord("-")
            i += 1
        while i < n and 0x30 <= s[i] <= 0x39 and ex < 500:
            ex = ex * 10 + s[i] - 0x30
            i += 1
        if eneg:
            ex = -ex
    while i < n and s[i] == 0x20:
        i += 1
    if i != n:
        return None
    mant = int((ints + frac) or b"0")
    q = Fraction(mant) * Fraction(10) ** (ex - len(frac))
    r = nearest_extended(q)
    if r is None:
        return None
    return to_hex20(1 if neg else 0, r[0], r[1])


# ---- values to try ---------------------------------------------------------

def random_hex(rng):
    kind = rng.random()
    sign = rng.getrandbits(1)
    if kind < 0.05:
        return to_hex20(sign, 0, rng.getrandbits(63))  # subnormal
    if kind < 0.08:
        return to_hex20(sign, 0x7FFF, (1 << 63) | (rng.getrandbits(63) if rng.random() < 0.5 else 0))
    if kind < 0.5:
        exp = BIAS + rng.randint(-70, 70)  # the range people type
    else:
        exp = rng.randint(1, 0x7FFE)
    return to_hex20(sign, exp, (1 << 63) | rng.getrandbits(63))


def decimal_hex(rng):
    """Nearest extended value of a short decimal: ties at the cut positions."""
    digits = rng.randint(1, 19)
    mant = rng.randint(10 ** (digits - 1), 10 ** digits - 1)
    if rng.random() < 0.5:
        mant = mant // 10 * 10 + 5
    if rng.random() < 0.2:  # an exact tie at the 18th digit, held exactly
        mant = rng.randint(10 ** 17, (1 << 64) // 10 - 1) * 10 + 5
        r = nearest_extended(Fraction(mant))
        return to_hex20(rng.getrandbits(1), r[0], r[1])
    q = Fraction(mant) * Fraction(10) ** rng.randint(-25, 25)
    r = nearest_extended(q)
    return to_hex20(rng.getrandbits(1), r[0], r[1])


BOUNDARY_TEXTS = [
    "1.18973149535723176502E4932", "1.18973149535723176505E4932",  # both read as the largest
    "1.189731495357231765085759326628007E4932", "1.1897314953572317651E4932",
    "3.6451995318824746025E-4951", "1.8225997659412373012E-4951",  # smallest subnormal, half of it
    "1.8225997659412373013E-4951", "3.3621031431120935063E-4932",
    "1E4933", "1E-4952", "-.", "-0", ".", "1E", "1e+", "1E-", " 12 ", "\t12", "1,5", "- 5",
]


def random_text(rng):
    if rng.random() < 0.05:
        return rng.choice(BOUNDARY_TEXTS)
    alphabet = "0123456789.+-eE  "
    t = "".join(rng.choice(alphabet) for _ in range(rng.randint(0, 12)))
    if rng.random() < 0.3:
        t = str(rng.randint(0, 10 ** 30)) + "." + str(rng.randint(0, 10 ** 30)) + "E" + rng.choice(["", "-", "+"]) + str(rng.randint(0, 6000))
    return t


def main():
    sys.set_int_max_str_digits(0)
    probe = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 20000
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    requests, expected = [], []
    for _ in range(count):
        h = random_hex(rng) if rng.random() < 0.6 else decimal_hex(rng)
        requests.append("G " + h)
        expected.append(general_text(h))
        p = rng.choice([2, 4, 12, 15, 18])
        requests.append("F %d %s" % (p, h))
        expected.append(fixed_text(h, p))
        t = random_text(rng)
        requests.append("P " + t)
        r = parse_number(t.encode())
        expected.append("= " + r if r else "! '%s' is not a valid floating point value" % t)
    out = subprocess.run([probe, "numbers"], input="\n".join(requests) + "\n",
                         capture_output=True, text=True, check=True).stdout.split("\n")
    for req, want, got in zip(requests, expected, out):
        if want != got:
            print("MISMATCH %r: expected %r, got %r" % (req, want, got))
            sys.exit(1)
    print("%d requests agree with the exact model" % len(requests))


if __name__ == "__main__":
    main()
