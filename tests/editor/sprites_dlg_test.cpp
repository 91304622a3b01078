// sprites_dlg_test.cpp
