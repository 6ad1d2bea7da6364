// GTP commands that read the whole-board judgement: final_score,
// final_status, final_status_list, and with the analysis extensions
// dragon_status and eval_territory.
#pragma once

void register_scoring_commands(bool extensions);
