#pragma once

// The platform font of this back end: a font file's bytes with the style that
// picks a face of a collection, and the three ways of loading one.

#include "platform/text/FontDescriptor.h"
#include "platform/text/FontFileData.h"
#include "toolkit/IResourceRecords.h"

#include <memory>
#include <string>

namespace vx::ui {

class CoreTextFont : public PlatformFont {
public:
    CoreTextFont(bool system, text::FontDescriptorRef descriptor, std::string style);

    std::shared_ptr<const text::FontDescriptor> GetDescriptor() const override {
        return descriptor;
    }
    std::unique_ptr<text::FontFileData> GetFontData() const override;

private:
    text::FontDescriptorRef descriptor;
    std::string style; // empty for resource and memory fonts
};

// Null when the font is not found or its first face does not parse.
std::unique_ptr<CoreTextFont> LoadFontFromResource(const char* fileName, const char* bundleId,
                                                   const char* sharedSubPath);
// Style 1 "Bold", 2 "Italic", anything else "Regular"; exact family and style.
std::unique_ptr<CoreTextFont> LoadFontFromFamily(const char* family, int style);
std::unique_ptr<CoreTextFont> LoadFontFromMemory(const void* data, int size);

// The toolkit's text style for a style name: "Bold" 1, "Italic" 2, else 0.
int TextStyleFromName(const char* style);

} // namespace vx::ui
