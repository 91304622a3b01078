// glue_test.cpp
