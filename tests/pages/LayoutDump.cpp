#include "tests/pages/LayoutDump.h"

#include "controls/ITextControl.h"
#include "toolkit/ICanvas.h"
#include "toolkit/IVectorBase.h"

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <fstream>
#include <memory>
#include <typeinfo>

namespace omnar::test {

namespace {

// Past every tag the panel uses, the MIDI mapping texts included.
constexpr int kHighestProbedTag = 1024;

std::string ClassName(const vx::ui::IControl& control) {
    const char* mangled = typeid(control).name();
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    return status == 0 && name ? name.get() : mangled;
}

std::string Line(const vx::ui::ICanvas& canvas, int index) {
    const vx::ui::IControl& c = *canvas.GetControl(index);
    const vx::ui::IRECT& r = c.GetRECT();
    char head[160];
    std::snprintf(head, sizeof head, "%d %s (%g,%g,%g,%g) tag=%d", index, ClassName(c).c_str(),
                  double(r.L), double(r.T), double(r.R), double(r.B), TagOf(canvas, &c));
    std::string line = std::string(head) + " group=\"" + c.GetGroup() + "\"" +
                       " param=" + std::to_string(c.GetParamIdx()) +
                       " hidden=" + std::to_string(c.IsHidden()) +
                       " disabled=" + std::to_string(c.IsDisabled());
    if (const auto* text = dynamic_cast<const vx::ui::ITextControl*>(&c))
        line += std::string(" text=\"") + text->GetString() + "\"";
    if (const auto* vector = dynamic_cast<const vx::ui::IVectorBase*>(&c))
        line += std::string(" label=\"") + vector->GetLabelStr() + "\"";
    return line;
}

std::string GoldenPath(const std::string& name) {
    return std::string(OMNAR_PAGES_GOLDEN) + "/" + (name.empty() ? "nogroup" : name) + ".txt";
}

} // namespace

int TagOf(const vx::ui::ICanvas& canvas, const vx::ui::IControl* control) {
    for (int tag = 0; tag <= kHighestProbedTag; ++tag)
        if (canvas.FindControlByTag(tag) == control)
            return tag;
    return -1;
}

std::vector<std::string> LayoutDump(const vx::ui::ICanvas& canvas) {
    std::vector<std::string> lines;
    for (int i = 0; i < canvas.NControls(); ++i)
        lines.push_back(Line(canvas, i));
    return lines;
}

std::vector<std::string> LayoutDump(const vx::ui::ICanvas& canvas, const std::string& group) {
    std::vector<std::string> lines;
    for (int i = 0; i < canvas.NControls(); ++i)
        if (canvas.GetControl(i)->GetGroup() == group)
            lines.push_back(Line(canvas, i));
    return lines;
}

std::string CompareWithGolden(const std::vector<std::string>& lines, const std::string& name) {
    const std::string path = GoldenPath(name);
    if (const char* update = std::getenv("OMNAR_UPDATE_GOLDEN"); update && *update == '1') {
        std::ofstream out(path, std::ios::trunc);
        for (const std::string& line : lines)
            out << line << '\n';
        return out ? "" : "cannot write " + path;
    }
    std::ifstream in(path);
    if (!in)
        return "no golden file " + path + " (run with OMNAR_UPDATE_GOLDEN=1)";
    std::vector<std::string> golden;
    for (std::string line; std::getline(in, line);)
        golden.push_back(line);
    for (std::size_t i = 0; i < std::max(golden.size(), lines.size()); ++i) {
        const std::string want = i < golden.size() ? golden[i] : "(none)";
        const std::string got = i < lines.size() ? lines[i] : "(none)";
        if (want != got)
            return name + " line " + std::to_string(i + 1) + ":\n  golden: " + want +
                   "\n  now:    " + got;
    }
    return "";
}

} // namespace omnar::test
