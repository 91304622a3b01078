// NewMapDlg.cpp
