// app_test.cpp
