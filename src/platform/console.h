#pragma once
// The console a command-line program runs in: its arguments, whether a person is there to read
// and answer, the text it shows, and what an interruption from it (Ctrl-C) leaves behind.

#include <string>
#include <vector>

namespace animark {

// The program's arguments in UTF-8, argv[0] included. Windows hands `main` its arguments in the
// ANSI code page, which cannot spell every name ("C:\Blitzdaten\Jürgen" may come through as
// "J?rgen"): there they are taken from the UTF-16 command line instead.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Makes the console show the program's UTF-8 text as such; a Windows console otherwise reads it
// in an old code page. Elsewhere the terminal does so already.
void UseUtf8Console();

enum class StandardStream { Input, Error };

// Whether `stream` is a terminal or console window, where a person can read or answer. A file, a
// pipe or NUL is none, so that a scheduled job is never asked a question.
bool IsTerminal(StandardStream stream);

// From now on an interruption (Ctrl-C, Ctrl-Break, a closed terminal or console window, a stopped
// job) first removes the temporary file of the replacement under way, then ends the program as
// it would have ended it: the previous file stays as it was, and no temporary file is left.
void RemoveTemporaryFileOnInterruption();

}  // namespace animark
