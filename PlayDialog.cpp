// PlayDialog.cpp
