// document_test.cpp
