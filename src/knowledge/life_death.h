// Life and death stages of the analysis: what each territory area is worth
// as eyes, the groups' eye totals, and the semeai judgement that turns a weak
// group's eyes and liberties into a safety and a status.
#pragma once
#include "knowledge/analysis.h"

// Chance in percent for a liberty difference (own − weakest enemy), -5..+5.
int semeai_percent(int liberty_difference);

template <int S>
void area_eye_values(const Board<S>& b, Analysis<S>& a);
// Sums the areas into each group's eye total; four or more make it alive.
template <int S>
void group_eye_totals(Analysis<S>& a);
template <int S>
void semeai_and_safety(const Board<S>& b, Analysis<S>& a);
