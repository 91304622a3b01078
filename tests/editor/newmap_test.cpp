// newmap_test.cpp
