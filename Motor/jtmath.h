// jtmath.h -- int results held at the int range, for positions and sizes read from files
#pragma once

#include <climits>

// A wide result brought back to int: values in range pass unchanged, others stop at the limit.
inline int SaturateInt(long long v)
{
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return int(v);
}
