#pragma once

// Looks a function of the layer up by its exact, case-sensitive name, as
// loaded modules do. A null name answers the interface version, 256.
void* LookupAPIFunctionByName(const char* name);

struct ApiEntry {
    const char* name;
    void* address;
};

// Adds the functions of a part of the layer kept in another library; looked
// up after the table above. Any thread; a name already known is ignored.
void AddApiEntries(const ApiEntry* entries, int count);
