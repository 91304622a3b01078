// ParlantDlg.cpp
