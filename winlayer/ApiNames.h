#pragma once

// Looks a function of the layer up by its exact, case-sensitive name, as
// loaded modules do. A null name answers the interface version, 256.
void* LookupAPIFunctionByName(const char* name);

struct ApiName {
    const char* name;
    void* address;
};

// Adds functions of the layer's libraries above this one (drawing, windows)
// to the table; a name already there keeps its address. Any thread.
void RegisterApiNames(const ApiName* names, int count);
