// parlant_test.cpp
