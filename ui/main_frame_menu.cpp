// The menu bar of the main window: File, Options, About. Captions as the program
// has always shown them.
#include "main_frame_menu.h"

#include "application.h"
#include "resource.h"

const MenuResource& MainFrameMenu()
{
    static const MenuResource menu{
        IDR_MAINFRAME,
        {
            {"File", 0, MF_POPUP,
             {
                 {"Start", ID_FILE_START, 0, {}},
                 {"Stop", ID_FILE_STOP, 0, {}},
                 {"Step", ID_FILE_STEP, 0, {}},
                 {"Show Solution", ID_FILE_SHOWSOLUTION, MF_GRAYED, {}},
                 {"Save", ID_FILE_SAVE, 0, {}},
                 {"Open", ID_FILE_OPEN, 0, {}},
                 {"Reset", ID_FILE_RESET, MF_GRAYED, {}},
                 {"E&xit", ID_APP_EXIT, MF_END, {}},
             }},
            {"Options", 0, MF_POPUP,
             {
                 {"Show Current Board", ID_OPTIONS_SHOWCURRENTBOARD, MF_CHECKED, {}},
                 {"Show Previous Baord", ID_OPTIONS_SHOWPREVIOUSBOARD, MF_CHECKED, {}},
                 {"Show Possable Boards", ID_OPTIONS_SHOWPOSSIBLEBOARDS, MF_CHECKED, {}},
                 {"Show Board Numbering", ID_OPTIONS_SHOWBOARDNUMBERING, MF_CHECKED, {}},
                 {"Set Solving Speed", ID_OPTIONS_SETSOLVINGSPEED, 0, {}},
                 {"Set Solution Speed", ID_OPTIONS_SETSOLUTIONSPEED, 0, {}},
                 {"", 0, MF_END, {}},
             }},
            {"About", 0, MF_POPUP | MF_END,
             {
                 {"Tarnbok", ID_ABOUT_PROGRAM, 0, {}},
                 {"Puzzle", ID_ABOUT_PUZZLE, 0, {}},
                 {"Method", ID_ABOUT_METHOD, 0, {}},
                 {"Author", ID_ABOUT_AUTHOR, MF_END, {}},
             }},
        }};
    return menu;
}
