// frame_test.cpp
