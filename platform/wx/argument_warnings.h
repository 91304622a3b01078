// argument_warnings.h -- the toolkit's warning about a command-line argument it cannot convert,
// kept off the terminal when the program takes that argument by its bytes.
#pragma once

// Before wxEntry: the toolkit leaves out of its own argv each argument that the locale cannot
// convert (a file name that is not UTF-8), and says so on standard error in English. The
// program reads those arguments from the bytes main received, so that warning is silenced for
// them; every other message of the toolkit's start still reaches standard error.
void QuietArgumentConversionWarnings(int argc, char** argv);
