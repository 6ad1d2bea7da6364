// Headless printing and board images for printed collections and scripts:
//   ranvel --print RECORD OUT.pdf [--figure whole|FIRST-LAST|split:N] [--two-digit]
//   ranvel --board-image RECORD OUT.png [--move N] [--size PIXELS]
// No window and no printer; exit 0, or 1 with one line on stderr and no file written.
#pragma once

// argv[1] is "--print". Returns the process exit status.
int print_main(int argc, char** argv);
// argv[1] is "--board-image".
int board_image_main(int argc, char** argv);
