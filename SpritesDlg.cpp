// SpritesDlg.cpp
