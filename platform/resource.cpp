// resource.cpp -- lookups in the embedded resource table.
#include "platform/resource.h"

#include <cstring>
#include <strings.h>

const EmbeddedResource* FindResourceById(const char* type, UINT id)
{
    for (const EmbeddedResource* r = g_resources; r->type != nullptr; ++r) {
        if (r->name == nullptr && r->id == id && std::strcmp(r->type, type) == 0)
            return r;
    }
    return nullptr;
}

const EmbeddedResource* FindResourceByName(const char* type, const char* name)
{
    if (name == nullptr)
        return nullptr;
    for (const EmbeddedResource* r = g_resources; r->type != nullptr; ++r) {
        if (r->name != nullptr && strcasecmp(r->name, name) == 0 && std::strcmp(r->type, type) == 0)
            return r;
    }
    return nullptr;
}
