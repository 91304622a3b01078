// MainFrm.cpp
