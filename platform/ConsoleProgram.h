// What a console program gets from the system and gives back: its words, as the core holds
// texts, and a console that shows UTF-8. On Linux the words are argv's own bytes and the
// terminal takes the bytes as they are; Windows hands main() its words in the ANSI code page,
// which cannot hold every name, and its console shows that code page unless told otherwise.
#pragma once

#include <string>
#include <vector>

namespace vyp {

// The program's words after its own name: on Windows from the wide command line, in UTF-8.
std::vector<std::string> ProgramWords(int argc, char** argv);

// Makes the console, if there is one, show and take the program's text as UTF-8, and writes
// the output's bytes as they are: no CR is added before LF, so CSV keeps its CR LF and the
// output is the same as on Linux.
void UseUtf8Console();

} // namespace vyp
