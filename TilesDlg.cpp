// TilesDlg.cpp
