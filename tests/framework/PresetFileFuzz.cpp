#include "tests/framework/PluginFixtures.h"
#include "tests/support/MemoryTempFolder.h"
#include "tests/support/TempImageFolder.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

// The fixture's product without its log: nothing reads it here, and a
// string per parameter change was most of the time an input took.
class QuietProduct : public vx::test::TestProduct {
public:
    using TestProduct::TestProduct;
    void SendParameterValueToUI(int32_t index, double value, bool normalised) override {
        IStandaloneApp::SendParameterValueToUI(index, value, normalised);
    }
    void OnParamChangeWithSource(int32_t index, int32_t source, int32_t offset) override {
        IStandaloneApp::OnParamChangeWithSource(index, source, offset);
    }
};

// A product made once, put back before every input to the presets and values
// it started with, so that each input meets the same product.
struct Fixture {
    explicit Fixture(vx::test::FakeHost* host, bool chunks) : product(host, Config(chunks)) {
        product.WritePresets(presets);
        product.SaveState(state);
    }
    void Reset() {
        if (product.ReadPresets(presets, 0) < 0 || product.RestoreState(state, 0) < 0)
            std::abort();
        product.log.clear();
    }
    QuietProduct product;
    vx::IByteChunk presets;
    vx::IByteChunk state;
};

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

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vx::test::PreferMemoryTempFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vx::test::TempImageFolder folder;
    static vx::test::FakeHost host;
    static Fixture values(&host, false);
    static Fixture chunks(&host, true);
    const std::string in = folder.Folder() + "/in";
    const std::string out = folder.Folder() + "/out";
    vx::test::WriteWholeFile(in, data, size);
    values.Reset();
    chunks.Reset();
    Exercise(values.product, in, out);
    Exercise(chunks.product, in, out);
    return 0;
}
