// Helpers shared by the stages of the analysis (not for its callers).
#pragma once
#include <cstring>

#include "knowledge/analysis.h"
#include "knowledge/reading.h"

template <int S>
constexpr int kDir4[4] = {1, S, -1, -S};
template <int S>
constexpr int kDir8[8] = {1, S, -1, -S, S + 1, S - 1, -S - 1, -S + 1};

// Appends v unless present or the list is full.
template <typename T>
void add_unique(T* list, int& num, int max, int v) {
  for (int i = 0; i < num; i++) {
    if (list[i] == v) return;
  }
  if (num < max) list[num++] = T(v);
}

template <int S>
uint32_t next_visit(Analysis<S>& a) {
  if (++a.visit_stamp == 0) {
    memset(a.visit, 0, sizeof a.visit);
    a.visit_stamp = 1;
  }
  return a.visit_stamp;
}

template <int S>
bool touches_edge(const Board<S>& b, int z) {
  for (int d : kDir4<S>) {
    if (b.ban[z + d] == EDGE) return true;
  }
  return false;
}

// A liberty of group g touches another group of its colour that `wanted`
// accepts (called with the group's number).
template <int S, typename Wanted>
bool liberty_touches_friend(const Board<S>& b, const Analysis<S>& a, int g, Wanted wanted) {
  const Group& gr = a.group[g];
  for (int q = gr.ren_first; q < gr.ren_first + gr.in_ren_num; q++) {
    int s = a.group_strings[q];
    for (int l = 0; l < b.ren[s].lib_num; l++) {
      int p = b.ren[s].libs[l];
      for (int d : kDir4<S>) {
        if (b.ban[p + d] != gr.color) continue;
        int og = a.str[a.rn[p + d]].group;
        if (og && og != g && wanted(og)) return true;
      }
    }
  }
  return false;
}

// The last stage: living and dead stones, territory, the per-point arrays
// and the older generation's evaluation.
template <int S>
void judge_points(const Board<S>& b, Analysis<S>& a);
// The final status, the position taken as finished (reads on the board and
// takes every move back).
template <int S>
void settle_final_status(Board<S>& b, Analysis<S>& a, ReadingState& rs);
