// jtmodul.h -- the module table: ten slots through which every engine module is found.
#pragma once

#define MAX_MODULS 10

enum
{
    MODUL_KERNEL = 0,
    MODUL_RENDER = 1,
    MODUL_MUSIC = 2,
    MODUL_DECORAT = 3,
    MODUL_MANAGER = 4,
};

class JTModul
{
public:
    // Registers the module in slot id; an id outside the table is kept but registers nothing.
    explicit JTModul(int id);
    virtual ~JTModul() {}
    JTModul(const JTModul&) = delete;
    JTModul& operator=(const JTModul&) = delete;

    // The table's entry under this module's id; NULL when the id lies outside the table.
    JTModul* GetModul() const;

    // The content of a slot, NULL when it is empty or outside the table.
    static JTModul* GetSlot(int id);
    // Empties a slot; only the kernel's destructor does this.
    static void ClearSlot(int id);

protected:
    int m_id;
};
