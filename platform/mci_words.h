// mci_words.h -- the words of a multimedia command string: blanks separate them, double
// quotes keep blanks inside one, keywords compare without regard to case.
#pragma once

#include <string>
#include <vector>

// Splits command into words, quotes removed. False when a quote is left open.
bool SplitMciWords(const char* command, std::vector<std::string>* words);

// The word in lower case, for keywords and aliases.
std::string LowerMciWord(const std::string& word);
