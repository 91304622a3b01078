// TavroluView.cpp
