// tiles_dlg_test.cpp
