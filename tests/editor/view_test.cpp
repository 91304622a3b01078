// view_test.cpp
