// tavrolu_main.cpp -- the program's entry point: the toolkit's main running the application.
#include "Tavrolu.h"

wxIMPLEMENT_APP(CTavroluApp);
