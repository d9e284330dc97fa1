#include "tests/framework/PluginFixtures.h"
#include "tests/support/TempImageFolder.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

// Program (.fxp) and bank (.fxb) files of any content, into a product with
// plain values and one with state chunks. Whatever the file, every parameter
// keeps a number in its range; a file that loads saves a file that loads again.
namespace {

vx::PluginConfig Config(bool chunks) {
    vx::PluginConfig config = vx::test::ProductConfig();
    config.presetCount = 2;
    config.stateChunks = chunks;
    return config;
}

void Write(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

void CheckRanges(const vx::IModuleBase& module) {
    for (int i = 0; i < module.NParams(); ++i) {
        const vx::IParam* param = module.GetParam(i);
        const double value = param->CurrentValue();
        if (!std::isfinite(value) || value < param->Min() || value > param->Max()) {
            std::fprintf(stderr, "parameter %d left at %g\n", i, value);
            std::abort();
        }
    }
}

void Exercise(vx::test::TestProduct& product, const std::string& in, const std::string& out) {
    if (product.LoadProgramFile(in.c_str())) {
        CheckRanges(product);
        if (!product.SaveProgramFile(out.c_str()) || !product.LoadProgramFile(out.c_str()))
            std::abort();
    }
    CheckRanges(product);
    if (product.LoadBankFile(in.c_str())) {
        CheckRanges(product);
        if (!product.SaveBankFile(out.c_str()) || !product.LoadBankFile(out.c_str()))
            std::abort();
    }
    CheckRanges(product);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vx::test::TempImageFolder folder;
    static vx::test::FakeHost host;
    static vx::test::TestProduct values(&host, Config(false));
    static vx::test::TestProduct chunks(&host, Config(true));
    const std::string in = folder.Folder() + "/in";
    const std::string out = folder.Folder() + "/out";
    Write(in, data, size);
    Exercise(values, in, out);
    Exercise(chunks, in, out);
    values.log.clear();
    chunks.log.clear();
    return 0;
}
