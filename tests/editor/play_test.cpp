// play_test.cpp
