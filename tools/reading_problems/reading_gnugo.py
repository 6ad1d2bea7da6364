#!/usr/bin/env python3
"""Tactical problems checked by GNU Go, and agreement of attack/defend with GNU Go.

  reading_gnugo.py problems --games a.sgf --out tests/data/reading
      cuts positions from professional games (unpacked .sgf collections), reduces
      each to the stones around one string of two or three liberties, adds the
      hand-made diagrams below, and keeps those GNU Go reads the same way with a
      generous depth; every point near the string is tried with GNU Go to list all
      correct answers. One SGF collection per theme.
  reading_gnugo.py compare --games b.sgf --engine "build/h16/ranvel --mode gtp"
      samples positions, asks both programs attack and defend for every string of
      one to three liberties, and counts agreements and kills only one side finds.
"""
import argparse, random, re, shlex, subprocess, sys
from collections import Counter, defaultdict

GNUGO = "/usr/games/gnugo --mode gtp"
DEEP = " -D 24 -B 16 --branch-depth 16 --backfill2-depth 8 --break-chain-depth 10 -F 9 --superstring-depth 10"
LETTERS = "ABCDEFGHJKLMNOPQRST"


class Gtp:
    def __init__(self, cmd):
        self.p = subprocess.Popen(shlex.split(cmd), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL, text=True)

    def __call__(self, command):
        self.p.stdin.write(command + "\n")
        self.p.stdin.flush()
        lines = []
        while True:
            line = self.p.stdout.readline()
            if not line:
                raise RuntimeError(f"engine died on {command!r}")
            line = line.rstrip("\r\n")
            if line == "" and lines:
                break
            if line:
                lines.append(line)
        text = "\n".join(lines)
        return text[0] == "=", text[1:].strip()

    def close(self):
        try:
            self("quit")
        except (RuntimeError, BrokenPipeError):
            pass
        self.p.wait()


# ---- a small board: points are (x, y), 1-based from the top left ----
class Board:
    def __init__(self, size):
        self.size = size
        self.stone = {}

    def on(self, p):
        return 1 <= p[0] <= self.size and 1 <= p[1] <= self.size

    def nbrs(self, p):
        x, y = p
        return [q for q in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)) if self.on(q)]

    def string(self, p):
        c = self.stone[p]
        seen, stack, libs = {p}, [p], set()
        while stack:
            q = stack.pop()
            for r in self.nbrs(q):
                s = self.stone.get(r)
                if s is None:
                    libs.add(r)
                elif s == c and r not in seen:
                    seen.add(r)
                    stack.append(r)
        return seen, libs

    def play(self, p, c):
        """Plays and returns the captured stones, or None when illegal (ko not checked)."""
        if p in self.stone:
            return None
        self.stone[p] = c
        captured = set()
        for q in self.nbrs(p):
            if self.stone.get(q) == 3 - c:
                s, libs = self.string(q)
                if not libs:
                    captured |= s
        for q in captured:
            del self.stone[q]
        if not self.string(p)[1]:
            del self.stone[p]
            return None
        return captured

    def copy(self):
        b = Board(self.size)
        b.stone = dict(self.stone)
        return b


def vertex(p, size):
    return f"{LETTERS[p[0] - 1]}{size - p[1] + 1}"


def parse_vertex(text, size):
    text = text.strip().upper()
    if text in ("", "PASS"):
        return None
    return (LETTERS.index(text[0]) + 1, size - int(text[1:]) + 1)


def sgf_point(p):
    return chr(96 + p[0]) + chr(96 + p[1])


# ---- corpus records: main line only ----
def read_games(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    for chunk in re.split(r"\n(?=\(;)", text):
        yield chunk


def main_line(game):
    """Size, setup stones and moves of the first variation."""
    size_m = re.search(r"SZ\[(\d+)", game)
    size = int(size_m.group(1)) if size_m else 19
    # keep the text before the first nested variation
    depth, cut = 0, len(game)
    for i, ch in enumerate(game):
        if ch == "(":
            depth += 1
            if depth == 2:
                cut = i
                break
        elif ch == ")":
            depth -= 1
    body = re.sub(r"\[(?:\\.|[^\]\\])*\]", lambda m: m.group(0).replace(";", ","), game[:cut])
    setup, moves = [], []
    for node in body.split(";")[1:]:
        for prop, values in re.findall(r"([A-Z]+)((?:\[(?:\\.|[^\]\\])*\]\s*)+)", node):
            vals = re.findall(r"\[((?:\\.|[^\]\\])*)\]", values)
            if prop in ("AB", "AW"):
                for v in vals:
                    if len(v) == 2:
                        setup.append(((ord(v[0]) - 96, ord(v[1]) - 96), 1 if prop == "AB" else 2))
                    elif len(v) == 5 and v[2] == ":":
                        for x in range(ord(v[0]), ord(v[3]) + 1):
                            for y in range(ord(v[1]), ord(v[4]) + 1):
                                setup.append(((x - 96, y - 96), 1 if prop == "AB" else 2))
            elif prop in ("B", "W"):
                v = vals[0]
                p = None if len(v) != 2 or v == "tt" else (ord(v[0]) - 96, ord(v[1]) - 96)
                moves.append((p, 1 if prop == "B" else 2))
    return size, setup, moves


def position_at(size, setup, moves, n):
    b = Board(size)
    for p, c in setup:
        if b.on(p):
            b.stone[p] = c
    for p, c in moves[:n]:
        if p is not None and b.on(p):
            if b.play(p, c) is None:
                return None
    return b


def load(gtp, b):
    gtp(f"boardsize {b.size}")
    gtp("clear_board")
    for p, c in b.stone.items():
        ok, _ = gtp(f"play {'BW'[c - 1]} {vertex(p, b.size)}")
        if not ok:
            return False
    return True


def reading(gtp, cmd, p, size):
    """(code, move) of attack/defend; code 0 when the engine refuses."""
    ok, text = gtp(f"{cmd} {vertex(p, size)}")
    if not ok or not text:
        return 0, None
    parts = text.split()
    code = int(parts[0])
    return code, parse_vertex(parts[1], size) if len(parts) > 1 else None


# ---- problems ----
def crop(b, target, radius):
    s, _ = b.string(target)
    keep = Board(b.size)
    for p, c in b.stone.items():
        if any(max(abs(p[0] - q[0]), abs(p[1] - q[1])) <= radius for q in s):
            keep.stone[p] = c
    return keep


def near_points(b, target, radius=2):
    s, libs = b.string(target)
    pts = set(libs)
    for q in s:
        for dx in range(-radius, radius + 1):
            for dy in range(-radius, radius + 1):
                p = (q[0] + dx, q[1] + dy)
                if b.on(p) and p not in b.stone:
                    pts.add(p)
    return sorted(pts)


def correct_moves(gtp, b, target, attacker, kind, radius=4):
    """Every nearby move that kills (attack) or saves (defend) by GNU Go's deep reading."""
    good, color = [], attacker if kind == "attack" else 3 - attacker
    for p in near_points(b, target, radius):
        ok, _ = gtp(f"play {'BW'[color - 1]} {vertex(p, b.size)}")
        if not ok:
            continue
        if kind == "attack":
            ok2, col = gtp(f"color {vertex(target, b.size)}")
            if col == "empty":
                good.append(p)
            else:
                code, _ = reading(gtp, "defend", target, b.size)
                if code == 0:
                    good.append(p)
        else:
            code, _ = reading(gtp, "attack", target, b.size)
            if code == 0:
                good.append(p)
        gtp("undo")
    return good


def classify(b, target, attacker, move):
    s, libs = b.string(target)
    after = b.copy()
    captured = after.play(move, attacker)
    if captured is None:
        return None
    if target in captured:
        return "atari"
    ms, mlibs = after.string(move)
    if len(mlibs) == 1 and not captured:
        # a sacrifice: does taking it leave the taker in atari at once?
        take = next(iter(mlibs))
        again = after.copy()
        got = again.play(take, 3 - attacker)
        if got is not None and move in got and take in again.stone and len(again.string(take)[1]) == 1:
            return "snapback"
        return "throw_in"
    if any(min(q[0], q[1], b.size + 1 - q[0], b.size + 1 - q[1]) <= 2 for q in s):
        return "edge"
    if move not in libs:
        return "net"
    if len(libs) == 3:
        return "loose_ladder"
    tlibs = after.string(target)[1]
    if len(tlibs) == 1:
        run = after.copy()
        if run.play(next(iter(tlibs)), 3 - attacker) is not None and target in run.stone \
                and len(run.string(target)[1]) == 2:
            return "ladder"
    return "atari"


QUOTA = {"ladder": 28, "net": 28, "loose_ladder": 24, "edge": 30, "throw_in": 18, "snapback": 12,
         "atari": 14, "defend": 28, "defend_capture": 20, "safe": 22}

# Hand-made diagrams: 'X' black, 'O' white, '.' empty; '*' marks the target's
# stone (its colour from the letter after the diagram), top left corner of a 19x19 board.
DIAGRAMS = [
    ("ladder", "O", [
        "........",
        "........",
        "........",
        "...X....",
        "..X*....",
        "....X...",
        "........",
    ]),
    ("net", "O", [
        "........",
        "........",
        "...X....",
        "..X*....",
        "...O.X..",
        "..X.....",
        "........",
    ]),
    ("edge", "O", [
        "..*X....",
        "..OX....",
        ".XX.....",
        "........",
    ]),
    ("loose_ladder", "O", [
        "........",
        "........",
        "...X....",
        "..X*....",
        "........",
        "...X....",
        "........",
    ]),
    ("snapback", "O", [
        ".X*.OX..",
        ".XOO.OX.",
        ".XXXOOX.",
        "....XX..",
        "........",
    ]),
    ("throw_in", "O", [
        ".O.X....",
        "*OX.....",
        "OXX.....",
        "X.......",
        "........",
    ]),
]


SNAPBACK = [
    ".XO.OX..",
    ".XOOOX..",
    ".XXXXX..",
    "........",
]


def transform(p, sym, size=19):
    x, y = p
    if sym & 1:
        x = size + 1 - x
    if sym & 2:
        y = size + 1 - y
    if sym & 4:
        x, y = y, x
    return (x, y)


def snapback_boards():
    """The edge snapback in each orientation, and shifted along the edge."""
    for shift in (0, 7):
        for sym in range(8):
            b = Board(19)
            for y, row in enumerate(SNAPBACK, 1):
                for x, ch in enumerate(row, 1):
                    if ch in "XO":
                        b.stone[transform((x + shift, y), sym)] = 1 if ch == "X" else 2
            yield b, transform((3 + shift, 1), sym)


def diagram_board(rows, colour):
    b = Board(19)
    target = None
    for y, row in enumerate(rows, 1):
        for x, ch in enumerate(row, 1):
            if ch in "XO":
                b.stone[(x, y)] = 1 if ch == "X" else 2
            elif ch == "*":
                b.stone[(x, y)] = 1 if colour == "X" else 2
                target = (x, y)
    return b, target


def make_problem(gtp, b, target, kind=None, full=()):
    """(theme, kind, answers) by GNU Go's deep reading, or None."""
    if not load(gtp, b):
        return None
    s, libs = b.string(target)
    defender = b.stone[target]
    attacker = 3 - defender
    acode, amove = reading(gtp, "attack", target, b.size)
    if acode == 0:
        if len(libs) == 2 and "safe" not in full:
            dcode, _ = reading(gtp, "defend", target, b.size)
            if dcode == 1:
                return "safe", "attack", []
        return None
    if acode != 1 or amove is None:
        return None  # ko
    dcode, dmove = reading(gtp, "defend", target, b.size)
    if dcode not in (0, 1):
        return None
    if kind == "defend" or (kind is None and dcode == 1 and random.random() < 0.5
                             and not {"defend", "defend_capture"} <= set(full)):
        if dcode != 1 or dmove is None:
            return None
        answers = correct_moves(gtp, b, target, attacker, "defend")
        if not answers:
            return None
        captures = any(b.stone.get(q) == attacker and len(b.string(q)[1]) == 1 and p in b.string(q)[1]
                       for p in answers for q in b.nbrs(p))
        return ("defend_capture" if captures else "defend"), "defend", answers
    theme = classify(b, target, attacker, amove)
    if theme is None or theme in full:
        return None
    answers = correct_moves(gtp, b, target, attacker, "attack")
    if amove not in answers:
        return None
    return theme, "attack", answers


def problem_sgf(b, target, theme, kind, answers, name, source):
    defender = b.stone[target]
    mover = 3 - defender if kind == "attack" else defender
    ab = "".join(f"[{sgf_point(p)}]" for p, c in sorted(b.stone.items()) if c == 1)
    aw = "".join(f"[{sgf_point(p)}]" for p, c in sorted(b.stone.items()) if c == 2)
    ab, aw = (f"AB{ab}" if ab else ""), (f"AW{aw}" if aw else "")
    ans = "".join(f"[{sgf_point(p)}]" for p in answers)
    colour = "BW"[mover - 1]
    question = {"attack": "capture", "defend": "save"}[kind]
    if theme == "safe":
        text = f"{colour} cannot capture the marked string."
    else:
        text = f"{colour} to {question} the marked string; the squares are all the correct moves."
    out = f"(;GM[1]FF[4]SZ[{b.size}]GN[{name}]PL[{colour}]{ab}{aw}TR[{sgf_point(target)}]"
    out += f"XQ[{kind}]XT[{theme}]"
    if ans:
        out += f"XA{ans}SQ{ans}"
    return out + f"C[{text} {source}])\n"


def cmd_problems(args):
    random.seed(args.seed)
    gtp = Gtp(GNUGO + DEEP)
    found = defaultdict(list)
    for theme, colour, rows in DIAGRAMS:
        b, target = diagram_board(rows, colour)
        got = make_problem(gtp, b, target, "attack")
        print(f"diagram meant as {theme}: {got[0] if got else 'rejected'}", file=sys.stderr)
        if got is None:
            continue
        found[got[0]].append((b, target, got, "Diagram."))
    for b, target in snapback_boards():
        got = make_problem(gtp, b, target, "attack")
        if got is not None:
            found["snapback"].append((b, target, ("snapback",) + got[1:], "Diagram."))
    games = [g for g in read_games(args.games)]
    random.shuffle(games)
    for gi, game in enumerate(games[: args.max_games]):
        if all(len(found[t]) >= q for t, q in QUOTA.items()):
            break
        size, setup, moves = main_line(game)
        if size != 19 or len(moves) < 60:
            continue
        n = random.randint(40, min(len(moves), 220))
        b = position_at(size, setup, moves, n)
        if b is None:
            continue
        strings, seen = [], set()
        for p in b.stone:
            if p in seen:
                continue
            s, libs = b.string(p)
            seen |= s
            if 2 <= len(libs) <= 3:
                strings.append(min(s))
        random.shuffle(strings)
        for target in strings:
            small = crop(b, target, args.radius)
            full = [t for t, q in QUOTA.items() if len(found[t]) >= q]
            got = make_problem(gtp, small, target, full=full)
            if got is None or len(found[got[0]]) >= QUOTA[got[0]]:
                continue
            found[got[0]].append((small, target, got, f"Cut from a professional game, move {n}."))
        if gi % 50 == 0:
            print(gi, {t: len(v) for t, v in found.items()}, file=sys.stderr, flush=True)
    gtp.close()
    for theme, items in sorted(found.items()):
        with open(f"{args.out}/{theme}.sgf", "w") as f:
            for i, (b, target, (t, kind, answers), source) in enumerate(items, 1):
                f.write(problem_sgf(b, target, t, kind, answers, f"{theme}-{i:03d}", source))
        print(theme, len(items))


def cmd_answers(args):
    """Recomputes every problem's list of correct moves in place."""
    gtp = Gtp(GNUGO + DEEP)
    for path in args.files:
        out = []
        for line in open(path):
            if not line.startswith("(;"):
                out.append(line)
                continue
            def pts(prop):
                m = re.search(r"(?<![A-Z])" + prop + r"((?:\[[a-s]{2}\])+)", line)
                return [(ord(v[0]) - 96, ord(v[1]) - 96) for v in re.findall(r"\[([a-s]{2})\]", m.group(1))] if m else []
            b = Board(int(re.search(r"SZ\[(\d+)", line).group(1)))
            for p in pts("AB"):
                b.stone[p] = 1
            for p in pts("AW"):
                b.stone[p] = 2
            target = pts("TR")[0]
            kind = re.search(r"XQ\[(\w+)\]", line).group(1)
            if "XA[" in line:
                load(gtp, b)
                answers = correct_moves(gtp, b, target, 3 - b.stone[target], kind)
                ans = "".join(f"[{sgf_point(p)}]" for p in answers)
                line = re.sub(r"XA(\[[a-s]{2}\])+SQ(\[[a-s]{2}\])+", f"XA{ans}SQ{ans}", line)
            out.append(line)
        with open(path, "w") as f:
            f.writelines(out)
        print(path, file=sys.stderr, flush=True)
    gtp.close()


# ---- agreement ----
def cmd_compare(args):
    random.seed(args.seed)
    ours, theirs = Gtp(args.engine), Gtp(GNUGO)
    count = Counter()
    games = [g for g in read_games(args.games)]
    random.shuffle(games)
    strings_done = 0
    misses = open(args.misses, "w") if args.misses else None
    for game in games:
        if strings_done >= args.strings:
            break
        size, setup, moves = main_line(game)
        if size != 19 or len(moves) < 60:
            continue
        n = random.randint(30, min(len(moves), 250))
        b = position_at(size, setup, moves, n)
        if b is None:
            continue
        ok = True
        for g in (ours, theirs):
            g("boardsize 19")
            g("clear_board")
            for p, c in setup:
                g(f"play {'BW'[c - 1]} {vertex(p, 19)}")
            for p, c in moves[:n]:
                ok &= g(f"play {'BW'[c - 1]} {vertex(p, 19) if p else 'pass'}")[0]
        if not ok:
            continue
        seen = set()
        for p in sorted(b.stone):
            if p in seen:
                continue
            s, libs = b.string(p)
            seen |= s
            if not 1 <= len(libs) <= 3:
                continue
            strings_done += 1
            ga, gmove = reading(theirs, "attack", p, 19)
            oa, _ = reading(ours, "attack", p, 19)
            gd, _ = reading(theirs, "defend", p, 19)
            od, _ = reading(ours, "defend", p, 19)
            if ga not in (0, 1):
                count["attack ko (GNU Go), left out"] += 1
            else:
                count["attack " + ("agree" if bool(ga) == bool(oa) else
                                   "kill only GNU Go finds" if ga else "kill only we find")] += 1
                if ga and not oa and misses:
                    misses.write(problem_sgf(b, p, "miss", "attack", [gmove] if gmove else [],
                                             f"miss-{strings_done}", f"Move {n}."))
            if gd not in (0, 1):
                count["defend ko (GNU Go), left out"] += 1
            else:
                count["defend " + ("agree" if bool(gd) == bool(od) else
                                   "kill only GNU Go finds" if od else "kill only we find")] += 1
    ours.close()
    theirs.close()
    print(f"strings {strings_done}")
    for k in sorted(count):
        print(f"{k}: {count[k]}")


def main():
    ap = argparse.ArgumentParser()
    sub = ap.add_subparsers(dest="cmd", required=True)
    p = sub.add_parser("problems")
    p.add_argument("--games", required=True)
    p.add_argument("--out", required=True)
    p.add_argument("--radius", type=int, default=5)
    p.add_argument("--max-games", type=int, default=6000)
    p.add_argument("--seed", type=int, default=16)
    c = sub.add_parser("compare")
    c.add_argument("--games", required=True)
    c.add_argument("--engine", required=True)
    c.add_argument("--strings", type=int, default=2000)
    c.add_argument("--seed", type=int, default=61)
    c.add_argument("--misses", help="writes the kills only GNU Go finds as problems")
    a = sub.add_parser("answers")
    a.add_argument("files", nargs="+")
    args = ap.parse_args()
    {"problems": cmd_problems, "compare": cmd_compare, "answers": cmd_answers}[args.cmd](args)


if __name__ == "__main__":
    main()
