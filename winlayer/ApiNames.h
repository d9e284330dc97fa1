#pragma once

// Looks a function of the layer up by its exact, case-sensitive name, as
// loaded modules do. A null name answers the interface version, 256.
void* LookupAPIFunctionByName(const char* name);

#include <span>

namespace winlayer {

struct ApiFunction {
    const char* name;
    void* address;
};

// The window core adds its functions when it starts; a name already in the
// table keeps its address. Safe from any thread.
void AddApiFunctions(std::span<const ApiFunction> functions);

} // namespace winlayer
