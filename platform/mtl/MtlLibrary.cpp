#include "platform/mtl/MtlLibrary.h"

#include <cstring>
#include <mutex>

namespace mtl {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, ShaderFunctionInfo> functions;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

constexpr char kMagic[4] = {'M', 'T', 'L', 'B'};

} // namespace

void register_shader_function(const std::string& name, const ShaderFunctionInfo& info) {
    std::lock_guard lock(registry().mutex);
    registry().functions[name] = info;
}

bool find_shader_function(const std::string& name, ShaderFunctionInfo& info) {
    std::lock_guard lock(registry().mutex);
    const auto it = registry().functions.find(name);
    if (it == registry().functions.end())
        return false;
    info = it->second;
    return true;
}

std::vector<unsigned char> make_library_blob(const std::vector<std::string>& names) {
    std::vector<unsigned char> blob(kMagic, kMagic + 4);
    for (const std::string& name : names) {
        blob.insert(blob.end(), name.begin(), name.end());
        blob.push_back(0);
    }
    return blob;
}

std::shared_ptr<Library> Library::fromData(const void* data, size_t size, std::string& error) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (!bytes || size < 4 || std::memcmp(bytes, kMagic, 4) != 0) {
        error = "the data is not a shader library";
        return nullptr;
    }
    if (bytes[size - 1] != 0 && size > 4) {
        error = "the shader library is truncated";
        return nullptr;
    }
    auto library = std::make_shared<Library>();
    for (size_t at = 4; at < size;) {
        const std::string name(reinterpret_cast<const char*>(bytes + at));
        at += name.size() + 1;
        ShaderFunctionInfo info;
        if (name.empty() || !find_shader_function(name, info)) {
            error = "unknown shader function \"" + name + "\"";
            return nullptr;
        }
        library->functions_[name] = std::make_shared<Function>(name, info);
    }
    return library;
}

std::shared_ptr<Function> Library::newFunction(const std::string& name) const {
    const auto it = functions_.find(name);
    return it == functions_.end() ? nullptr : it->second;
}

std::vector<std::string> Library::functionNames() const {
    std::vector<std::string> names;
    for (const auto& [name, function] : functions_)
        names.push_back(name);
    return names;
}

} // namespace mtl
