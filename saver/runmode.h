// Which mode a command line asks for.
#pragma once

enum class TRunMode { None, Options, Saver };

// Searches the command-line tail, case-sensitively and anywhere in it: "/c" then "-c" for the
// options dialog, else "/s" then ",s" for the saver.
TRunMode SelectRunMode(const char* commandTail);
