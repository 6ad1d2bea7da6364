// GTP commands for analysis tools, offered only with "--gtp-extensions":
// "attack VERTEX" and "defend VERTEX" answer "1 MOVE" or "0".
#pragma once

void reading_gtp_register();
