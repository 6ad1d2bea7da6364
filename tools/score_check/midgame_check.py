#!/usr/bin/env python3
"""Compares the stones our analysis calls dead in the middle of professional
games with the stones GNU Go calls dead there.

  midgame_check.py RANVEL [--move N] [--games K] [--goban DIR] [--cache DIR]
                   [--jsonl OUT]

At move N (default 150) of K records (default 60, taken evenly from the
19x19 records of DIR that go on at least 20 moves longer), every stone is
asked `dragon_status` (--gtp-extensions) and compared with GNU Go's
`final_status_list dead` at the same move. Prints the stones we call dead
and GNU Go does not, and the reverse. GNU Go needs about half a minute a
position; its answers are cached in DIR (default /tmp/midgame-cache).
"""
import argparse, glob, json, os, sys
from concurrent.futures import ThreadPoolExecutor

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import score_check as sc


def gnugo_dead(args, name, moves):
    path = os.path.join(args.cache, '%s-%d.json' % (name, args.move))
    if os.path.exists(path):
        return json.load(open(path))
    rep = sc.gtp(['/usr/games/gnugo', '--mode', 'gtp'], ['boardsize 19', 'clear_board'] + moves +
                 ['list_stones black', 'list_stones white', 'final_status_list dead'])
    answer = [r.lstrip('= ').split() for r in rep[-3:]]
    json.dump(answer, open(path, 'w'))
    return answer


def one(args, path, g):
    name = os.path.basename(path)
    moves = g['moves'][:args.move]
    black, white, dead = gnugo_dead(args, name, moves)
    stones = black + white
    rep = sc.gtp([args.ranvel, '--mode', 'gtp', '--gtp-extensions'],
                 ['boardsize 19', 'clear_board'] + moves + ['dragon_status ' + s for s in stones])
    ours = {s for s, r in zip(stones, rep[-len(stones):]) if r.lstrip('= ').strip() == 'dead'} if stones else set()
    theirs = set(dead)
    return {'file': name, 'ours_only': sorted(ours - theirs), 'gnugo_only': sorted(theirs - ours)}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('ranvel')
    ap.add_argument('--move', type=int, default=150)
    ap.add_argument('--games', type=int, default=60)
    ap.add_argument('--goban', default='/usr/share/goban')
    ap.add_argument('--cache', default='/tmp/midgame-cache')
    ap.add_argument('--jsonl')
    args = ap.parse_args()
    os.makedirs(args.cache, exist_ok=True)
    games = []
    for path in sorted(glob.glob(os.path.join(args.goban, '*.mgt'))) + sorted(glob.glob(os.path.join(args.goban, '*.sgf'))):
        try:
            g = sc.parse(path)
        except (OSError, ValueError, IndexError):
            continue
        if g['size'] == 19 and len(g['moves']) >= args.move + 20:
            games.append((path, g))
    games = games[::max(1, len(games) // args.games)][:args.games]
    with ThreadPoolExecutor(2) as pool:
        rows = list(pool.map(lambda pg: one(args, *pg), games))
    if args.jsonl:
        with open(args.jsonl, 'w') as out:
            for r in rows:
                out.write(json.dumps(r) + '\n')
    print('%d games at move %d: dead for us, not for GNU Go %d stones; dead for GNU Go, not for us %d' %
          (len(rows), args.move, sum(len(r['ours_only']) for r in rows), sum(len(r['gnugo_only']) for r in rows)))


if __name__ == '__main__':
    main()
