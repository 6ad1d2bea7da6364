// Headless conversion: "ranvel --convert SRC DST" reads SRC with the reader
// its extension chooses and writes DST with the writer the save path chooses;
// "ranvel --convert ARCHIVE.ugz FOLDER" imports the archive into FOLDER.
#pragma once

// argv[1] is "--convert". Returns the process exit status.
int convert_main(int argc, char** argv);
