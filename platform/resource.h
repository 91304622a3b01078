// resource.h -- stands in for the executable's resource section: files embedded at build time.
#pragma once

#include "platform/windefs.h"

#include <cstddef>

struct EmbeddedResource
{
    const char* type; // "BITMAP", "ICON"
    UINT id;          // numeric id, 0 when the resource has a name
    const char* name; // nullptr when the resource has a numeric id
    const unsigned char* data;
    std::size_t size;
};

// The generated table, ended by an entry whose type is nullptr.
extern const EmbeddedResource g_resources[];

// A resource of the given type by numeric id, or nullptr.
const EmbeddedResource* FindResourceById(const char* type, UINT id);
// A resource of the given type by name, compared without regard to case, or nullptr.
const EmbeddedResource* FindResourceByName(const char* type, const char* name);
