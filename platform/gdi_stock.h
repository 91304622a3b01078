// gdi_stock.h -- the stock pens, brushes and the empty bitmap every new memory DC starts with.
#pragma once

#include "platform/gdi.h"

// The stock object of that index, or nullptr for an index that has none.
CGdiObject* GetStockGdiObject(int index);
// The empty bitmap a memory DC holds until a real one is selected.
CBitmap* GetDefaultBitmap();
