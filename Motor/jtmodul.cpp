// jtmodul.cpp -- the module table and the modules' registration in it.
#include "Motor/jtmodul.h"

#include "platform/debug.h"

namespace {
// Built empty during static initialisation; lives until the process ends.
JTModul* s_modules[MAX_MODULS] = {};

bool InTable(int id)
{
    return id >= 0 && id < MAX_MODULS;
}
} // namespace

JTModul::JTModul(int id) : m_id(id)
{
    if (!InTable(id))
        return;
    ASSERT(s_modules[id] == nullptr);
    s_modules[id] = this;
}

JTModul* JTModul::GetModul() const
{
    return GetSlot(m_id);
}

JTModul* JTModul::GetSlot(int id)
{
    return InTable(id) ? s_modules[id] : nullptr;
}

void JTModul::ClearSlot(int id)
{
    if (InTable(id))
        s_modules[id] = nullptr;
}
