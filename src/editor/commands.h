// Every command of the main window in one table: id, label, shortcut,
// toolbar tooltip, the menu it sits in. Menus, toolbar, accelerators and the
// command-state rules all read from here.
#pragma once

enum CommandId : int {
  ID_EXIT = 101,
  ID_TEST_FIGURE = 102,
  ID_ABOUT = 103,
  ID_HELP = 104,
  ID_INFO_WINDOW = 1004,
  ID_PREV_FIGURE = 8005,
  ID_NEXT_FIGURE = 8006,
  ID_JUDGEMENT = 40001,
  ID_REBUILD = 40005,
  ID_NEW_GAME = 40011,
  ID_PASS = 40012,
  ID_MODE_SWITCH = 40013,
  ID_SAVE = 40015,
  ID_OPEN = 40017,
  ID_PASTE = 40018,
  ID_TOOLBAR = 40019,
  ID_BACK_1 = 40020,
  ID_FORWARD_1 = 40021,
  ID_BACK_10 = 40022,
  ID_FORWARD_10 = 40023,
  ID_FIRST = 40024,
  ID_LAST = 40025,
  ID_DELETE_LAST = 40026,
  ID_COPY_BOARD = 40030,
  ID_RECORD_WINDOW = 40034,
  ID_SOUND = 40035,
  ID_COPY_LOG = 40046,
  ID_COPY_SGF = 40047,
  ID_BEST_LINE = 40052,
  ID_COORD_LETTERS = 40067,
  ID_ROTATE = 40069,
  ID_NUMBERS = 40075,
  ID_TRIANGLE = 40076,
  ID_RECORD_LIST = 40078,
  ID_BMP_BOARD = 40080,
  ID_FIGURE_LARGE = 40081,
  ID_PREV_COMMENT = 40082,
  ID_NEXT_COMMENT = 40083,
  ID_PRINT = 40084,
  ID_GAME_INFO = 40085,
  ID_SETTINGS = 40086,
  ID_SHIFT_MOVE = 40093,
  ID_INSERT_MOVE = 40094,
  ID_DELETE_ONLY = 40095,
  ID_ADD_FIGURE = 40097,
  ID_EDIT_FIGURE = 40098,
  ID_DELETE_ALL_FIGURES = 40099,
  ID_DELETE_ALL_COMMENTS = 40100,
  ID_DELETE_ALL = 40101,
  ID_FIGURE_RIGHT = 40102,
  ID_FIGURE_LEFT = 40103,
  ID_DELETE_FIGURE = 40104,
  ID_COORD_NONE = 40105,
  ID_COORD_KANJI = 40106,
  ID_COORD_INTERNATIONAL = 40107,
  ID_BOARD_EDIT = 40108,
  ID_ANALYSIS = 40110,
  ID_DELETE_PHOTOS = 40112,
  ID_ATTACH_PHOTO = 40113,
  ID_AUTO_REPLAY = 40116,
  ID_SAVE_IMAGE = 40117,
  ID_GAMEDB_SEARCH = 40200,
  ID_GAMEDB_BUILD = 40201,
};

enum MenuGroup { MENU_FILE, MENU_EDIT, MENU_VIEW, MENU_MOVE, MENU_TOOLS, MENU_HELP, MENU_NONE };

struct CommandEntry {
  int id;
  const char* label;     // menu text with its &-key; "\t" and the shortcut as the menu shows it
  const char* shortcut;  // QKeySequence text, or null
  const char* tooltip;   // toolbar tooltip, or null when the command has no button
  MenuGroup menu;
  bool checkable;
  bool separator_before;
};

extern const CommandEntry command_table[];
extern const int command_count;
