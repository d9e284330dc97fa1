#pragma once

// Looks a function of the layer up by its exact, case-sensitive name, as
// loaded modules do. A null name answers the interface version, 256.
void* LookupAPIFunctionByName(const char* name);
