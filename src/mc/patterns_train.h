// Training the pattern databases from game records: positions sampled from
// the games, every legal point of a position a candidate and the move played
// the winner. A first pass finds the common large patterns and counts the
// weak choice's 3x3 entries; a second gathers every candidate's features for
// Coulom's minorization-maximization over the tree's whole prior.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

struct PatternTrainOptions {
  long first_game = 0;
  long end_game = -1;          // -1: to the end of the sources
  int game_step = 8;           // every game_step-th game of the range
  int move_step = 2;           // every move_step-th move of such a game
  int move_max = 300;
  int mm_3x3_iterations = 25;  // MM of the 3x3 gammas by themselves
  int mm_pool_iterations = 8;  // MM with every common large pattern listed
  int mm_iterations = 12;      // MM again with the chosen list
  int big_min_seen = 20;       // a large pattern needs this many sightings
  // The 3x3 gammas are learnt by themselves (the playouts use them alone)
  // and the large patterns on top of the whole prior; joint_3x3 learns the
  // 3x3 gammas inside the whole prior too, best for the prior alone.
  bool joint_3x3 = false;
  FILE* progress = nullptr;    // progress lines, when given
};

struct PatternTrainReport {
  long games = 0;
  long positions = 0;
  long candidates = 0;
  int features = 0;        // distinct 3x3 features seen
  int patterns[6] = {};    // large patterns stored per size
  double seconds_mm = 0;
  double mean_log_likelihood = 0;  // of the moves played, under the fitted prior
};

// Writes "mm3x3.db", "patlist.db" and "weak255.db" into out_dir.
bool train_patterns(const std::vector<std::string>& sources, const PatternTrainOptions& opt,
                    const std::string& out_dir, PatternTrainReport& report);

struct PredictionFigures {
  long moves = 0;
  double top1_3x3 = 0, top5_3x3 = 0;      // shares 0..1
  double top1_prior = 0, top5_prior = 0;
};
// Move prediction over the games [first_game, end_game) with the loaded
// pattern files (every move_step-th move); ties share their ranks evenly.
PredictionFigures predict_moves(const std::vector<std::string>& sources, long first_game, long end_game,
                                int move_step);
