#include "editor/commands.h"

// Order within a menu is the order here.
const CommandSpec command_table[] = {
    {ID_NEW_GAME, "新規対局(&N)...\tCtrl+N", "Ctrl+N", "新規対局", MENU_FILE, false, false},
    {ID_OPEN, "開く(&O)...\tCtrl+O", "Ctrl+O", "棋譜を開く", MENU_FILE, false, false},
    {ID_SAVE, "保存(&S)...\tCtrl+S", "Ctrl+S", "棋譜を保存", MENU_FILE, false, false},
    {ID_RECORD_LIST, "棋譜一覧(&L)...\tCtrl+L", "Ctrl+L", "棋譜一覧", MENU_FILE, false, true},
    {ID_SAVE_IMAGE, "盤面を画像で保存(&B)...", nullptr, nullptr, MENU_FILE, false, true},
    {ID_PRINT, "印刷(&P)...", nullptr, nullptr, MENU_FILE, false, false},
    {ID_EXIT, "終了(&X)", nullptr, nullptr, MENU_FILE, false, true},

    {ID_COPY_SGF, "SGF形式(&C)\tCtrl+C", "Ctrl+C", nullptr, MENU_EDIT, false, false},
    {ID_COPY_BOARD, "盤面をコピー(&B)\tCtrl+B", "Ctrl+B", nullptr, MENU_EDIT, false, false},
    {ID_PASTE, "棋譜の貼り付け(&V)\tCtrl+V", "Ctrl+V", nullptr, MENU_EDIT, false, false},
    {ID_PASS, "パス(&P)", nullptr, "パス", MENU_EDIT, false, true},
    {ID_DELETE_LAST, "最終手の削除(&L)", nullptr, nullptr, MENU_EDIT, false, false},
    {ID_ROTATE, "盤面の回転(&T)", nullptr, nullptr, MENU_EDIT, false, false},
    {ID_BOARD_EDIT, "盤面編集(&E)", nullptr, nullptr, MENU_EDIT, false, false},
    {ID_GAME_INFO, "棋譜情報(&I)\tCtrl+I", "Ctrl+I", "棋譜情報", MENU_EDIT, false, true},
    {ID_ATTACH_PHOTO, "写真を貼る(&P)", nullptr, nullptr, MENU_EDIT, false, false},
    {ID_DELETE_PHOTOS, "写真をすべて削除(&D)", nullptr, nullptr, MENU_EDIT, false, false},
    {ID_ADD_FIGURE, "コメント、参考図の新規追加(&N)", nullptr, nullptr, MENU_EDIT, false, true},
    {ID_EDIT_FIGURE, "コメント、参考図の編集(&C)", nullptr, nullptr, MENU_EDIT, false, false},
    {ID_DELETE_FIGURE, "現在のコメント、参考図の削除(&D)", nullptr, nullptr, MENU_EDIT, false, false},
    {ID_DELETE_ALL_FIGURES, "すべての参考図を削除(&F)", nullptr, nullptr, MENU_EDIT, false, false},
    {ID_DELETE_ALL_COMMENTS, "すべてのコメントを削除(&C)", nullptr, nullptr, MENU_EDIT, false, false},
    {ID_DELETE_ALL, "すべてのコメント、参考図を削除(&A)", nullptr, nullptr, MENU_EDIT, false, false},
    {ID_FIGURE_RIGHT, "参考図を右に移動(&R)", nullptr, nullptr, MENU_EDIT, false, false},
    {ID_FIGURE_LEFT, "参考図を左に移動(&L)", nullptr, nullptr, MENU_EDIT, false, false},

    {ID_TOOLBAR, "ツールバー(&T)", nullptr, nullptr, MENU_VIEW, true, false},
    {ID_INFO_WINDOW, "情報表示(&V)\tCtrl+Alt+P", "Ctrl+Alt+P", nullptr, MENU_VIEW, true, false},
    {ID_COORD_NONE, "なし", nullptr, nullptr, MENU_VIEW, true, true},
    {ID_COORD_KANJI, "漢数字", nullptr, nullptr, MENU_VIEW, true, false},
    {ID_COORD_LETTERS, "英字", nullptr, nullptr, MENU_VIEW, true, false},
    {ID_COORD_INTERNATIONAL, "英字(国際式)", nullptr, nullptr, MENU_VIEW, true, false},
    {ID_NUMBERS, "石番号(&N)", nullptr, nullptr, MENU_VIEW, true, true},
    {ID_TRIANGLE, "最終手を△で(&L)", nullptr, nullptr, MENU_VIEW, true, false},
    {ID_BMP_BOARD, "bmpの碁盤", nullptr, nullptr, MENU_VIEW, true, false},
    {ID_FIGURE_LARGE, "参考図の拡大(&B)\tCtrl+Alt+O", "Ctrl+Alt+O", "大きさ切り替え", MENU_VIEW, true, false},
    {ID_SOUND, "着手音(&S)", nullptr, nullptr, MENU_VIEW, true, true},

    {ID_FIRST, "初期局面へ\tHome", nullptr, "初期局面へ", MENU_MOVE, false, false},
    {ID_BACK_10, "10手戻す\tPage Up", nullptr, "10手戻す", MENU_MOVE, false, false},
    {ID_BACK_1, "１手戻す\t←", nullptr, "１手戻す", MENU_MOVE, false, false},
    {ID_FORWARD_1, "１手進める\t→", nullptr, "１手進める", MENU_MOVE, false, false},
    {ID_FORWARD_10, "10手進める\tPage Down", nullptr, "10手進める", MENU_MOVE, false, false},
    {ID_LAST, "最終局面へ\tEnd", nullptr, "最終局面へ", MENU_MOVE, false, false},
    {ID_AUTO_REPLAY, "自動再生(&A)", nullptr, "自動再生", MENU_MOVE, true, true},
    {ID_PREV_COMMENT, "前のコメント(&B)\tCtrl+←", "Ctrl+Left", "前のコメントへ", MENU_MOVE, false, true},
    {ID_NEXT_COMMENT, "次のコメント(&N)\tCtrl+→", "Ctrl+Right", "次のコメントへ", MENU_MOVE, false, false},
    {ID_PREV_FIGURE, "前の参考図(&Q)\tCtrl+↑", "Ctrl+Up", nullptr, MENU_MOVE, false, false},
    {ID_NEXT_FIGURE, "次の参考図(&W)\tCtrl+↓", "Ctrl+Down", nullptr, MENU_MOVE, false, false},

    {ID_JUDGEMENT, "形勢判断(&E)\tCtrl+E", "Ctrl+E", "形勢判断", MENU_TOOLS, true, false},
    {ID_ANALYSIS, "検討(&R)\tCtrl+R", "Ctrl+R", "検討機能\n試しに石を置くことができます\n変更内容は保存されません",
     MENU_TOOLS, true, false},
    {ID_RECORD_WINDOW, "棋譜ウインドウ", nullptr, "棋譜ウインドウ", MENU_TOOLS, false, false},
    {ID_SETTINGS, "各種設定(&S)...", nullptr, nullptr, MENU_TOOLS, false, true},
    {ID_TEST_FIGURE, "テスト(&F)", nullptr, nullptr, MENU_TOOLS, false, true},
    {ID_COPY_LOG, "情報表示をコピー", "Ctrl+P", nullptr, MENU_NONE, false, false},

    {ID_HELP, "目次(&C)", nullptr, nullptr, MENU_HELP, false, false},
    {ID_ABOUT, "Ranvel Editorについて(&A)...", nullptr, nullptr, MENU_HELP, false, false},
};

const int command_count = sizeof command_table / sizeof command_table[0];

const CommandSpec* find_command(int id) {
  for (const CommandSpec& c : command_table)
    if (c.id == id) return &c;
  return nullptr;
}
