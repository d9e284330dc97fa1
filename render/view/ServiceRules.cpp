#include "render/view/ServiceRules.h"

#include <cctype>

namespace vx::ui {

std::vector<std::string> MessageBoxButtonTitles(EMsgBoxButtons type) {
    switch (type) {
    case EMsgBoxButtons::OK:
        return {"OK"};
    case EMsgBoxButtons::OKCancel:
        return {"OK", "Cancel"};
    case EMsgBoxButtons::YesNoCancel:
        return {"Yes", "No", "Cancel"};
    case EMsgBoxButtons::YesNo:
        return {"Yes", "No"};
    case EMsgBoxButtons::RetryCancel:
        return {"Retry", "Cancel"};
    }
    return {};
}

EMsgBoxResult MessageBoxResultOf(EMsgBoxButtons type, int index) {
    using R = EMsgBoxResult;
    switch (type) {
    case EMsgBoxButtons::OK:
        return R::OK;
    case EMsgBoxButtons::OKCancel:
        return index == 0 ? R::OK : R::Cancel;
    case EMsgBoxButtons::YesNoCancel:
        return index == 0 ? R::Yes : index == 1 ? R::No : R::Cancel;
    case EMsgBoxButtons::YesNo:
        return index == 0 ? R::Yes : R::No;
    case EMsgBoxButtons::RetryCancel:
        return index == 0 ? R::Retry : R::Cancel;
    }
    return R::Cancel;
}

bool StartsWithUriScheme(const std::string& text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    size_t i = 1;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            break;
        ++i;
    }
    return i >= 2 && i < text.size() && text[i] == ':';
}

} // namespace vx::ui

namespace vx::ui {

std::vector<std::string> SplitExtensions(const char* extensions) {
    std::vector<std::string> parts;
    std::string part;
    for (const char* c = extensions ? extensions : "";; ++c) {
        if (*c == ' ' || *c == '\0') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
            if (*c == '\0')
                break;
        } else {
            part += *c;
        }
    }
    return parts;
}

std::string FolderOfPath(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace vx::ui
