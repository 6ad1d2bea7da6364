#!/usr/bin/env python3
"""Scores finished games with our final_score and final_status_list and
compares them with the recorded results and with GNU Go's dead stones.

  score_check.py RANVEL [--goban DIR] [--gnugo-games DIR] [--cache DIR]
                 [--run-gnugo] [--misses] [--margin-misses] [--jsonl OUT]

(a) share of games with a counted result (B+n / W+n; B+0 / W+0 is a jigo)
    whose winner our final_score matches, and (m) the share whose margin it
    matches exactly; (b) share of board points where our dead stones agree
    with GNU Go's final_status_list dead, over the games whose GNU Go answer
    is cached (--run-gnugo fills the cache for the rest; slow); (g) GNU Go's
    own winner and exact-margin shares over the counted games it answered.
--misses lists the games whose winner we get wrong, --margin-misses those
whose margin is not exact, with our margin minus the recorded one.

Game selection, the same for every game: the main lines of 9x9 and 19x19
records; from goban-original-games the games with a counted result; from
GNU Go's regression games those with at least 20 moves that have a counted
result or end with two passes. Records under Chinese, New Zealand,
Tromp-Taylor or AGA rules are counted by area (--chinese-rule). A record
without KM is left out: its komi is unknown. Taking it as no komi is wrong
for the Meijin games of the 1960s, recorded without KM but played with five.
So is one whose result no board count reaches with its KM (a half point
with a whole komi, or the reverse): its KM is wrong. A game kept in two
files (the same moves, komi and result) counts once.
"""
import argparse, glob, hashlib, json, os, re, subprocess, sys
from concurrent.futures import ThreadPoolExecutor

LETTERS = 'ABCDEFGHJKLMNOPQRSTUVWXYZ'
COUNTED = re.compile(r'^([BW])\+(\d+(?:\.\d*)?)$')
# Rule sets that count area (AGA's pass stones give the same result).
AREA_RULES = re.compile(r'RU\[\s*(chinese|new zealand|nz|tromp|tt|aga)', re.I)


def main_line(data):
    """Text of the main line, values kept whole: each first variation is
    followed, and the first closing parenthesis ends it (what comes after
    is a sibling variation)."""
    out, i = [], 0
    while i < len(data):
        c = data[i]
        if c == '[':
            j = i + 1
            while j < len(data) and data[j] != ']':
                j += 2 if data[j] == '\\' else 1
            out.append(data[i:j + 1])
            i = j + 1
            continue
        if c == ')':
            break
        if c != '(':
            out.append(c)
        i += 1
    return ''.join(out)


def parse(path):
    data = open(path, encoding='latin-1').read()
    size = int((re.search(r'SZ\[(\d+)\]', data) or [0, 19])[1])
    km = re.search(r'KM\[([-\d.]+)\]', data)
    result = (re.search(r'RE\[([^\]]*)\]', data) or [0, ''])[1].strip()
    text = main_line(data)
    moves = []
    for m in re.finditer(r'(?<![A-Z])(AB|AW|B|W)((?:\[[a-z]{0,2}\])+)', text):
        col = 'b' if m.group(1) in ('AB', 'B') else 'w'
        for v in re.findall(r'\[([a-z]{0,2})\]', m.group(2)):
            if v == '' or (v == 'tt' and size <= 19):
                moves.append('play %s pass' % col)
            else:
                moves.append('play %s %s%d' % (col, LETTERS[ord(v[0]) - 97], size - (ord(v[1]) - 97)))
    return {'size': size, 'komi': float(km.group(1)) if km else None, 'result': result, 'moves': moves,
            'chinese': bool(AREA_RULES.search(data)), 'data': data}


def select(args):
    games = []
    if args.goban:
        for f in sorted(glob.glob(os.path.join(args.goban, '*'))):
            games.append(('goban', f))
    if args.gnugo_games:
        for f in sorted(glob.glob(os.path.join(args.gnugo_games, '**', '*.sgf'), recursive=True)):
            games.append(('gnugo', f))
    chosen, seen = [], set()
    for coll, f in games:
        try:
            g = parse(f)
        except (OSError, ValueError, IndexError):
            continue
        if g['size'] not in (9, 19):
            continue
        counted = COUNTED.match(g['result'])
        if coll == 'goban':
            if not counted:
                continue
        else:
            two_pass = len(g['moves']) >= 2 and all(m.endswith('pass') for m in g['moves'][-2:])
            if len(g['moves']) < 20 or not (counted or two_pass):
                continue
        if g['komi'] is None:
            continue
        if counted and (recorded_value(g['result']) + g['komi']) % 1:
            continue
        game = (g['size'], g['komi'], g['result'], tuple(g['moves']))
        if game in seen:
            continue
        seen.add(game)
        g['collection'], g['file'], g['counted'] = coll, f, bool(counted)
        chosen.append(g)
    return chosen


def gtp(cmd, lines):
    out = subprocess.run(cmd, input='\n'.join(lines) + '\n', capture_output=True, text=True, timeout=900).stdout
    return [r for r in out.split('\n\n') if r != '']


def ours(args, g):
    cmd = [args.ranvel, '--mode', 'gtp'] + (['--chinese-rule'] if g['chinese'] else [])
    rep = gtp(cmd, ['boardsize %d' % g['size'], 'clear_board', 'komi %s' % g['komi']] + g['moves'] +
              ['final_score', 'final_status_list dead'])
    return {'score': rep[-2].lstrip('= ').strip(), 'dead': rep[-1].lstrip('=').split(),
            'errors': sum(r.startswith('?') for r in rep)}


def cache_key(g):
    tag = '|komi %s' % g['komi'] + ('|chinese' if g['chinese'] else '') + '|' + ' '.join(g['moves'])
    return hashlib.sha1((g['data'] + tag).encode('latin-1')).hexdigest()


def gnugo(args, g):
    path = os.path.join(args.cache, 'gnugo-' + cache_key(g) + '.json')
    if os.path.exists(path):
        return json.load(open(path))
    if not args.run_gnugo:
        return None
    cmd = ['/usr/games/gnugo', '--mode', 'gtp'] + (['--chinese-rules'] if g['chinese'] else [])
    rep = gtp(cmd, ['boardsize %d' % g['size'], 'clear_board', 'komi %s' % g['komi']] + g['moves'] +
              ['final_score', 'final_status_list dead'])
    r = {'file': g['file'], 'score': rep[-2].lstrip('= ').strip(), 'dead': rep[-1].lstrip('=').split()}
    json.dump(r, open(path, 'w'))
    return r


def value(score):
    if score in ('0', ''):
        return 0.0
    return float(score[2:]) * (1 if score[0] == 'B' else -1)


def outcome(v):
    return 'B' if v > 0 else 'W' if v < 0 else '0'


def recorded(result):
    m = COUNTED.match(result)
    return m.group(1) if float(m.group(2)) else '0'


def recorded_value(result):
    m = COUNTED.match(result)
    return float(m.group(2)) * (1 if m.group(1) == 'B' else -1)


def judged(score, result):
    """(winner right, margin exact) of a final_score answer."""
    v = value(score)
    return outcome(v) == recorded(result), abs(v - recorded_value(result)) < 0.01


def main():
    p = argparse.ArgumentParser()
    p.add_argument('ranvel')
    p.add_argument('--goban', default='/usr/share/goban')
    p.add_argument('--gnugo-games')
    p.add_argument('--cache', default='/tmp/judge-cache')
    p.add_argument('--run-gnugo', action='store_true')
    p.add_argument('--misses', action='store_true')
    p.add_argument('--margin-misses', action='store_true')
    p.add_argument('--jsonl')
    args = p.parse_args()
    os.makedirs(args.cache, exist_ok=True)
    games = select(args)
    with ThreadPoolExecutor(2) as ex:
        answers = list(ex.map(lambda g: ours(args, g), games))
    stats, misses, margin_misses, rows = {}, [], [], []
    for g, o in zip(games, answers):
        t = stats.setdefault((g['collection'], g['size']), [0] * 9)
        gn = gnugo(args, g)
        if g['counted']:
            t[0] += 1
            good, exact = judged(o['score'], g['result'])
            t[1] += good
            t[5] += exact
            if not good:
                misses.append('%s %s komi %s ours %s' % (g['file'], g['result'], g['komi'], o['score']))
            if not exact:
                margin_misses.append('%s %s komi %s ours %s off by %+g' % (
                    g['file'], g['result'], g['komi'], o['score'], value(o['score']) - recorded_value(g['result'])))
            if gn is not None:
                good, exact = judged(gn['score'], g['result'])
                t[6] += 1
                t[7] += good
                t[8] += exact
        if gn is not None:
            n = g['size'] ** 2
            t[2] += n
            t[3] += n - len(set(o['dead']) ^ set(gn['dead']))
            t[4] += 1
        rows.append({'file': g['file'], 'result': g['result'], 'komi': g['komi'], 'ours': o,
                     'gnugo_dead': gn and gn['dead']})
    def pct(a, b):
        return 100.0 * a / max(1, b)

    def line(name, t):
        print('%-12s (a) %4d/%4d = %5.1f %%  (m) %5.1f %%   (b) %6.2f %% over %d games'
              '   GNU Go (a) %5.1f %% (m) %5.1f %% of %d' %
              (name, t[1], t[0], pct(t[1], t[0]), pct(t[5], t[0]), pct(t[3], t[2]), t[4],
               pct(t[7], t[6]), pct(t[8], t[6]), t[6]))

    total = [0] * 9
    for k in sorted(stats):
        line('%s %dx%d' % (k[0], k[1], k[1]), stats[k])
        total = [x + y for x, y in zip(total, stats[k])]
    line('all', total)
    if args.misses:
        print('\n'.join(misses))
    if args.margin_misses:
        print('\n'.join(margin_misses))
    if args.jsonl:
        with open(args.jsonl, 'w') as f:
            for r in rows:
                f.write(json.dumps(r) + '\n')


if __name__ == '__main__':
    sys.exit(main())
