// ResourceTables.cpp
