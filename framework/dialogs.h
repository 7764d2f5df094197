// The system's file and font dialogs.
#pragma once

#include "classes.h"
#include "graphics.h"

#include <string>

// Asks for a file to open. The dialog remembers its file name and filter from one use to the
// next; a typed name need not exist.
class TOpenDialog : public TObject {
public:
    std::string Title;
    // Pairs of description and pattern: "Wave Files (*.wav)|*.wav|...".
    std::string Filter;
    // 1 for the first pair.
    int FilterIndex = 1;
    // The full path of the chosen file after a confirmed run.
    std::string FileName;

    // Runs the dialog modally; true when the user confirmed.
    bool Execute();
};

// Asks for a font, starting from Font; a confirmed choice is put into Font (face of at most
// 31 characters, size in points, the four styles, the colour).
class TFontDialog : public TObject {
public:
    TFont Font;

    bool Execute();
};
