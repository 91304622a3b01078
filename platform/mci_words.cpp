// mci_words.cpp -- splitting a command string into words.
#include "platform/mci_words.h"

#include <cctype>

bool SplitMciWords(const char* command, std::vector<std::string>* words)
{
    words->clear();
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (const char* p = command; *p != '\0'; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && std::isspace(c)) {
            if (inWord)
                words->push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += char(c);
            inWord = true;
        }
    }
    if (inWord)
        words->push_back(word);
    return !quoted;
}

std::string LowerMciWord(const std::string& word)
{
    std::string lower = word;
    for (char& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}
