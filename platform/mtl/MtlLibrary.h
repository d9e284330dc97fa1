#pragma once

// A shader library: the blob "MTLB" followed by NUL-terminated names of
// registered shader functions.

#include "platform/mtl/MtlShader.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace mtl {

class Function {
public:
    Function(std::string name, const ShaderFunctionInfo& info)
        : name_(std::move(name)), info_(info) {}
    const std::string& name() const { return name_; }
    const ShaderFunctionInfo& info() const { return info_; }

private:
    std::string name_;
    ShaderFunctionInfo info_;
};

class Library {
public:
    // Null with a reason in `error` for anything but a valid blob.
    static std::shared_ptr<Library> fromData(const void* data, size_t size, std::string& error);
    std::shared_ptr<Function> newFunction(const std::string& name) const;
    std::vector<std::string> functionNames() const;

private:
    std::map<std::string, std::shared_ptr<Function>> functions_;
};

// The blob naming these functions.
std::vector<unsigned char> make_library_blob(const std::vector<std::string>& names);

} // namespace mtl
