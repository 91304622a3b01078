// TavroluDoc.cpp
