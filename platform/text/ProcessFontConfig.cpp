#include "platform/text/ProcessFontConfig.h"

#include <memory>

namespace text {

namespace {

struct ConfigDeleter {
    void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};

} // namespace

FcConfig* ProcessFontConfig() {
    static const std::unique_ptr<FcConfig, ConfigDeleter> config(FcInitLoadConfigAndFonts());
    return config.get();
}

std::mutex& FontConfigMutex() {
    static std::mutex mutex;
    return mutex;
}

} // namespace text
